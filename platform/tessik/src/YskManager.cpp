// The public auto-constraint manager: each call journals itself and hands over to the
// manager behind it.
#include "AutoConstrainer.h"
#include "TestHooks.h"

using tessik::AutoConstrainer;
using tessik::CallRecord;
using tessik::Vec3;

int YSK_file_construct_full(YSK_file* file, FILE* stream, ZMR3_write_fn write, ZMR3_flush_fn flush)
{
    return ZMR3_file_construct_full(file, stream, write, flush);
}

void* YSK_autoconstrain_manager::operator new(std::size_t size)
{
    if (void* memory = operator new(size, std::nothrow))
        return memory;
    throw std::bad_alloc();
}

void* YSK_autoconstrain_manager::operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (tessik::TakeFailedManagerAllocation())
        return nullptr;
    return ::operator new(size, std::nothrow);
}

void YSK_autoconstrain_manager::operator delete(void* memory) noexcept { ::operator delete(memory); }

YSK_autoconstrain_manager::YSK_autoconstrain_manager(void*, ZMR3_dimension_system* system, void*, int)
    : m_impl(std::make_unique<AutoConstrainer>(system))
{
}

YSK_autoconstrain_manager::~YSK_autoconstrain_manager() = default;

int YSK_autoconstrain_manager::initialise()
{
    CallRecord call(m_impl->GetJournal(), "YSK::initialise");
    m_impl->Initialise();
    return call.Answer(0);
}

int YSK_autoconstrain_manager::reset()
{
    CallRecord call(m_impl->GetJournal(), "YSK::reset");
    m_impl->Reset();
    return call.Answer(0);
}

int YSK_autoconstrain_manager::enquire_frustum_functions(YSK_frustum_functions* table)
{
    CallRecord call(m_impl->GetJournal(), "YSK::enquire_frustum_functions");
    if (table == nullptr)
        return call.Answer(1);
    *table = m_impl->Table();
    return call.Answer(0);
}

int YSK_autoconstrain_manager::register_frustum_functions(const YSK_frustum_functions* table)
{
    CallRecord call(m_impl->GetJournal(), "YSK::register_frustum_functions");
    if (table == nullptr)
        return call.Answer(1);
    m_impl->Table() = *table;
    return call.Answer(0);
}

int YSK_autoconstrain_manager::journal_by_ptr(YSK_file* file, int options, int digits)
{
    // The closing line goes out before the stream is let go; the opening one after.
    if (file == nullptr || options == 0) {
        { CallRecord call(m_impl->GetJournal(), "YSK::journal_by_ptr"); call.Arg(options).Arg(digits); }
        m_impl->AttachJournal(nullptr, 0, 0);
        return 0;
    }
    m_impl->AttachJournal(file, options, digits);
    CallRecord call(m_impl->GetJournal(), "YSK::journal_by_ptr");
    call.Arg(options).Arg(digits);
    return 0;
}

YSK_autocon_result YSK_autoconstrain_manager::add_bonds(const YSK_dnode_data_s* relationships, int relationshipCount,
                                                        const YSK_dnode_data_s* bonds, int bondCount)
{
    CallRecord call(m_impl->GetJournal(), "YSK::add_bonds");
    call.Arg(relationshipCount).Arg(bondCount);
    return call.Answer(m_impl->AddBonds(relationships, relationshipCount, bonds, bondCount));
}

YSK_autocon_result YSK_autoconstrain_manager::get_bonds(void* client)
{
    CallRecord call(m_impl->GetJournal(), "YSK::get_bonds");
    return call.Answer(m_impl->GetBonds(client));
}

int YSK_autoconstrain_manager::reset_changes()
{
    CallRecord call(m_impl->GetJournal(), "YSK::reset_changes");
    m_impl->ResetChanges();
    return call.Answer(0);
}

YSK_autocon_result YSK_autoconstrain_manager::add_desired_translation(g_node* node, double dx, double dy, double dz,
                                                                      YSK_change_compliance compliance)
{
    CallRecord call(m_impl->GetJournal(), "YSK::add_desired_translation");
    call.Arg(node).Arg(dx).Arg(dy).Arg(dz).Arg(static_cast<int>(compliance));
    return call.Answer(m_impl->AddDesired(AutoConstrainer::Change::Translate, node, Vec3::Zero(), Vec3(dx, dy, dz)));
}

YSK_autocon_result YSK_autoconstrain_manager::add_desired_planar_translate(g_node* node, double nx, double ny, double nz,
                                                                           YSK_change_compliance compliance)
{
    CallRecord call(m_impl->GetJournal(), "YSK::add_desired_planar_translate");
    call.Arg(node).Arg(nx).Arg(ny).Arg(nz).Arg(static_cast<int>(compliance));
    return call.Answer(m_impl->AddDesired(AutoConstrainer::Change::PlanarTranslate, node, Vec3::Zero(), Vec3(nx, ny, nz)));
}

YSK_autocon_result YSK_autoconstrain_manager::add_desired_rotation(g_node* node, double px, double py, double pz,
                                                                   double dx, double dy, double dz,
                                                                   YSK_change_compliance compliance)
{
    CallRecord call(m_impl->GetJournal(), "YSK::add_desired_rotation");
    call.Arg(node).Arg(px).Arg(py).Arg(pz).Arg(dx).Arg(dy).Arg(dz).Arg(static_cast<int>(compliance));
    return call.Answer(m_impl->AddDesired(AutoConstrainer::Change::Rotate, node, Vec3(px, py, pz), Vec3(dx, dy, dz)));
}

YSK_autocon_result YSK_autoconstrain_manager::add_desired_general_transform(g_node* node, YSK_change_compliance compliance)
{
    CallRecord call(m_impl->GetJournal(), "YSK::add_desired_general_transform");
    call.Arg(node).Arg(static_cast<int>(compliance));
    return call.Answer(m_impl->AddDesired(AutoConstrainer::Change::General, node, Vec3::Zero(), Vec3::Zero()));
}

YSK_autocon_result YSK_autoconstrain_manager::autodefine(YSK_autodefine_rule* rules, int count)
{
    CallRecord call(m_impl->GetJournal(), "YSK::autodefine");
    call.Arg(count);
    return call.Answer(m_impl->Autodefine(rules, count));
}

int YSK_autoconstrain_manager::set_fr_option(YSK_option_relation_type relation, YSK_option_geom_type from,
                                             YSK_option_geom_type to, int offered)
{
    CallRecord call(m_impl->GetJournal(), "YSK::set_fr_option");
    call.Arg(static_cast<int>(relation)).Arg(static_cast<int>(from)).Arg(static_cast<int>(to)).Arg(offered);
    return call.Answer(m_impl->SetOption(relation, from, to, offered));
}

YSK_autocon_result YSK_autoconstrain_manager::find_relationships(double linearTolerance, double angularTolerance,
                                                                 const YSK_fr_option_s* options,
                                                                 const YSK_pointer_s* from, int fromCount,
                                                                 const YSK_pointer_s* to, int toCount,
                                                                 const YSK_pointer_s* third, int thirdCount,
                                                                 int* count1, int* count2, int* count3)
{
    CallRecord call(m_impl->GetJournal(), "YSK::find_relationships");
    call.Arg(linearTolerance).Arg(angularTolerance).Arg(options ? options->pass : -1).Arg(fromCount).Arg(toCount).Arg(thirdCount);
    tessik::FindCounts counts;
    const YSK_autocon_result result =
        m_impl->Find(linearTolerance, angularTolerance, options, from, fromCount, to, toCount, third, thirdCount, counts);
    if (count1 != nullptr)
        *count1 = counts.fromParallelPlanes;
    if (count2 != nullptr)
        *count2 = counts.crossParallelPlanes;
    if (count3 != nullptr)
        *count3 = counts.reported;
    call.Arg(counts.reported);
    return call.Answer(result);
}
