#include "YskHost.h"

namespace ysk_host {

namespace {

YskHost* s_host = nullptr;

void PlaceInstance(YSK_pointer_s entity, double (*m)[4])
{
    const Instance* instance = static_cast<const Instance*>(entity.instance);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[i][j] = instance->m[i][j];
}

void Collect(YSK_dnode_data_s* r)
{
    Found f;
    f.relation = r->relation;
    for (int i = 0; i < 3; ++i) {
        f.entity[i] = r->ends[i].entity;
        f.instance[i] = r->ends[i].instance;
    }
    s_host->found.push_back(f);
}

V ToV(const double v[3]) { return {v[0], v[1], v[2]}; }

// The host geometry of an end: made for construction geometry, else the one named.
Geometry* GeometryOf(const YSK_dimension_end_s& end, void** out)
{
    if (end.kind == YSK_END_CONSTRUCTION) {
        static const int types[] = {ZMR3_G_POINT, ZMR3_G_LINE, ZMR3_G_CIRCLE, ZMR3_G_PLANE};
        Geometry g;
        g.type = types[end.shape];
        g.p = ToV(end.location);
        g.d = ToV(end.direction);
        g.r1 = end.radius;
        g.node = end.node;
        Geometry* made = s_host->Adopt(g);
        s_host->adoptedGeometry.push_back(made);
        *out = made;
        return made;
    }
    return end.flag == 0 ? static_cast<Geometry*>(end.application) : nullptr;
}

void NewBond(YSK_dnode_data_s* r, void*, void** bondOut, void** g1, void** g2, void** g3)
{
    void** outs[3] = {g1, g2, g3};
    Geometry* g[3] = {nullptr, nullptr, nullptr};
    const bool threeEnds = r->type == ZMR3_SYMMETRIC || r->type == ZMR3_MIDPOINT;
    for (int i = 0; i < 3; ++i)
        if (i < 2 || threeEnds || (r->type == ZMR3_ANGLE && r->ends[2].node != nullptr))
            g[i] = GeometryOf(r->ends[i], outs[i]);
    if (threeEnds) {
        ++s_host->unadopted;
        return;
    }
    Bond b;
    b.type = r->type;
    b.value = r->value;
    b.rigid = r->rigid == 1;
    b.a = g[0];
    b.b = g[1];
    b.anglePlane = r->type == ZMR3_ANGLE ? g[2] : nullptr;
    b.halfSpace = {r->ends[0].half_space, r->ends[1].half_space};
    b.node = static_cast<d_node*>(r->node);
    Bond* made = s_host->Adopt(b);
    s_host->adoptedBonds.push_back(made);
    *bondOut = made;
}

void NewSingleEndBond(YSK_single_end_bond_s* r, void*, void** bondOut, void** g)
{
    Bond b;
    b.type = r->type;
    b.value = r->value;
    b.rigid = r->rigid == 1;
    b.a = GeometryOf(r->end, g);
    b.rnode = static_cast<r_node*>(r->node);
    Bond* made = s_host->Adopt(b);
    s_host->adoptedBonds.push_back(made);
    *bondOut = made;
}

void Event(int, void*) { ++s_host->events; }

}  // namespace

YskHost::YskHost() : m_manager(std::make_unique<YSK_autoconstrain_manager>(nullptr, &System(), nullptr, 1))
{
    s_host = this;
    YSK_frustum_functions table;
    m_manager->enquire_frustum_functions(&table);
    table.entries[YSK_FR_INSTANCE_TRANSFORM] = YSK_frustum_entry(&PlaceInstance);
    table.entries[YSK_FR_RELATIONSHIP_FOUND] = YSK_frustum_entry(&Collect);
    table.entries[YSK_FR_NEW_BOND] = YSK_frustum_entry(&NewBond);
    table.entries[YSK_FR_NEW_SINGLE_END_BOND] = YSK_frustum_entry(&NewSingleEndBond);
    table.entries[YSK_FR_EVENT] = YSK_frustum_entry(&Event);
    m_manager->register_frustum_functions(&table);
    m_manager->initialise();
}

YskHost::~YskHost()
{
    m_manager.reset();
    s_host = nullptr;
}

void YskHost::Offer(int relation, int from, int to, bool offered)
{
    m_manager->set_fr_option(static_cast<YSK_option_relation_type>(relation), static_cast<YSK_option_geom_type>(from),
                             static_cast<YSK_option_geom_type>(to), offered ? 1 : 0);
}

void YskHost::OfferEverything()
{
    for (int r = 0; r < YSK_OPTION_RELATION_COUNT; ++r)
        for (int f = 0; f < YSK_OPTION_GEOM_COUNT; ++f)
            for (int t = 0; t < YSK_OPTION_GEOM_COUNT; ++t)
                Offer(r, f, t);
}

YSK_autocon_result YskHost::Find(const std::vector<YSK_pointer_s>& from, const std::vector<YSK_pointer_s>& to,
                                 YSK_fr_option_s options, const std::vector<YSK_pointer_s>& third)
{
    found.clear();
    return m_manager->find_relationships(1e-8, 1e-11, &options, from.empty() ? nullptr : from.data(),
                                         static_cast<int>(from.size()), to.empty() ? nullptr : to.data(),
                                         static_cast<int>(to.size()), third.empty() ? nullptr : third.data(),
                                         static_cast<int>(third.size()), &counts[0], &counts[1], &counts[2]);
}

}  // namespace ysk_host
