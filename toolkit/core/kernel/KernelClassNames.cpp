#include "core/enums/EnumNames.h"

#include "core/support/TextUtils.h"

namespace QEL {

namespace {
constexpr int kNullClass = 500;
constexpr char kClassPrefix[] = "BQ_CLASS_";
constexpr int kClassPrefixLength = sizeof kClassPrefix - 1;
}  // namespace

const KernelClassName* GetBqClassNames()
{
    static const KernelClassName table[] = {
        {1003, "BQ_CLASS_attrib"},   {6003, "BQ_CLASS_attdef"},   {6005, "BQ_CLASS_group"},
        {2004, "BQ_CLASS_transf"},   {6002, "BQ_CLASS_ki_list"},  {1002, "BQ_CLASS_topol"},
        {5012, "BQ_CLASS_part"},     {5008, "BQ_CLASS_assembly"}, {5006, "BQ_CLASS_body"},
        {5007, "BQ_CLASS_instance"}, {5011, "BQ_CLASS_region"},   {5005, "BQ_CLASS_shell"},
        {5004, "BQ_CLASS_face"},     {5003, "BQ_CLASS_loop"},     {5002, "BQ_CLASS_edge"},
        {5010, "BQ_CLASS_fin"},      {5001, "BQ_CLASS_vertex"},   {1001, "BQ_CLASS_geom"},
        {2003, "BQ_CLASS_surf"},     {4001, "BQ_CLASS_plane"},    {4002, "BQ_CLASS_cyl"},
        {4003, "BQ_CLASS_cone"},     {4004, "BQ_CLASS_sphere"},   {4005, "BQ_CLASS_torus"},
        {4006, "BQ_CLASS_bsurf"},    {4008, "BQ_CLASS_offset"},   {4011, "BQ_CLASS_fsurf"},
        {4009, "BQ_CLASS_swept"},    {4010, "BQ_CLASS_spun"},     {4007, "BQ_CLASS_blendsf"},
        {2002, "BQ_CLASS_curve"},    {3001, "BQ_CLASS_line"},     {3002, "BQ_CLASS_circle"},
        {3003, "BQ_CLASS_ellipse"},  {3005, "BQ_CLASS_bcurve"},   {3004, "BQ_CLASS_icurve"},
        {3007, "BQ_CLASS_fcurve"},   {3006, "BQ_CLASS_spcurve"},  {3009, "BQ_CLASS_trcurve"},
        {3008, "BQ_CLASS_cpcurve"},  {2501, "BQ_CLASS_point"},    {508, "BQ_CLASS_partition"},
        {506, "BQ_CLASS_mark"},      {507, "BQ_CLASS_pmark"},     {500, "BQ_CLASS_null"},
        {kNullClass, nullptr},
    };
    return table;
}

const char* KernelClassToString(int code)
{
    for (const KernelClassName* entry = GetBqClassNames(); entry->name; ++entry)
        if (entry->code == code)
            return entry->name;
    return "";
}

int KernelClassFromString(const char* name)
{
    if (!name)
        return kNullClass;
    for (const KernelClassName* entry = GetBqClassNames(); entry->name; ++entry)
        if (IsEqualNoCase(entry->name, name) ||
            IsEqualNoCase(entry->name + kClassPrefixLength, name))
            return entry->code;
    return kNullClass;
}

int KernelClassFromString(const std::string& name) { return KernelClassFromString(name.c_str()); }

}  // namespace QEL
