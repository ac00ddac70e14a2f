#include "core/frame/TagCasts.h"

namespace QEL {

Object* FindObjectFromTag(Interaction* interaction, int tag)
{
    return interaction ? dynamic_cast<Object*>(interaction->FindTaggedEntityFromTag(tag)) : nullptr;
}

Reference* CastTagToReference(Interaction* interaction, int tag)
{
    return CastTagTo<Reference>(interaction, tag);
}

FeatureProcedureData* CastTagToFeatureProcedureData(Interaction* interaction, int tag)
{
    return CastTagTo<FeatureProcedureData>(interaction, tag);
}

FoundData* CastTagToFoundData(Interaction* interaction, int tag)
{
    return CastTagTo<FoundData>(interaction, tag);
}

MakeFeatureOptions* CastTagToMakeFeatureOptions(Interaction* interaction, int tag)
{
    return CastTagTo<MakeFeatureOptions>(interaction, tag);
}

#define QEL_DEFINE_OPTION_CAST(Class)                          \
    Class* CastTagTo##Class(Interaction* interaction, int tag) \
    {                                                          \
        return CastTagTo<Class>(interaction, tag);             \
    }
QEL_MODELLING_OPTION_CLASSES(QEL_DEFINE_OPTION_CAST)
QEL_DEFINE_OPTION_CAST(FacePattern)
QEL_DEFINE_OPTION_CAST(Section)
QEL_DEFINE_OPTION_CAST(VirtualVertex)
#undef QEL_DEFINE_OPTION_CAST

}  // namespace QEL
