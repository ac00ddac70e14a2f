#include "core/kernel/EntityDescription.h"

#include "core/kernel/KernelFacade.h"
#include "core/support/TextUtils.h"

namespace QEL {

namespace {

const char* GeometryClassName(int classCode)
{
    static const struct {
        int classCode;
        const char* name;
    } s_names[] = {
        {2501, "point"},  {3001, "line"},   {3002, "circle"},  {3003, "ellipse"},
        {3004, "icurve"}, {3005, "bcurve"}, {3006, "spcurve"}, {3009, "trcurve"},
        {4001, "plane"},  {4002, "cyl"},    {4003, "cone"},    {4004, "sphere"},
        {4005, "torus"},  {4006, "bsurf"},  {4007, "blendsf"}, {4008, "offset"},
        {4009, "swept"},  {4010, "spun"},
    };
    for (const auto& entry : s_names)
        if (entry.classCode == classCode)
            return entry.name;
    return "unknown";
}

}  // namespace

void GetEntityTypeNames(int tag, std::string& topologyLetter, int& identifier,
                        std::string& geometryName, int& geometry)
{
    geometry = 0;
    identifier = 0;
    if (!IsEntity(tag)) {
        geometryName = "entity failed EntityIs test";
        return;
    }
    const int classCode = GetEntityClass(tag);
    switch (classCode) {
        case KernelClassFace:
            topologyLetter = "F";
            BQ_FACE_ask_surf(tag, &geometry);
            break;
        case KernelClassEdge:
            topologyLetter = "E";
            BQ_EDGE_ask_curve(tag, &geometry);
            break;
        case KernelClassVertex:
            topologyLetter = "V";
            BQ_VERTEX_ask_point(tag, &geometry);
            break;
        case KernelClassLine:
        case KernelClassPlane:
        case KernelClassPoint:
            topologyLetter = "C";
            geometry = tag;
            break;
        default:
            topologyLetter = "?";
            break;
    }
    geometryName = geometry != 0 ? GeometryClassName(GetEntityClass(geometry)) : "unknown";
    BQ_ENTITY_ask_identifier(tag, &identifier);
}

std::string FormatEntityDescription(int tag)
{
    if (tag == 0)
        return "Null";
    std::string letter;
    std::string geometryName;
    int identifier = 0;
    int geometry = 0;
    GetEntityTypeNames(tag, letter, identifier, geometryName, geometry);
    return FormatString("%s(%d)[%d]%s(%d)", letter.c_str(), tag, identifier, geometryName.c_str(),
                        geometry);
}

}  // namespace QEL
