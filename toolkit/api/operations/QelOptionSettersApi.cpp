#include "api/operations/QelOptionSettersApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/frame/TagCasts.h"
#include "model/operations/BlockOptions.h"
#include "model/operations/ReplaceOptions.h"
#include "model/operations/ShellOptions.h"
#include "model/operations/TaperOptions.h"

namespace QEL {

namespace {

// Any type but none and exclude adds the faces.
ShellLocalFaceType LocalFacesAdded(int) { return ShellLocalFaceTypeAdd; }

}  // namespace

// A type outside the three leaves the options as they were (with checks off; checks refuse it).
QEL_API_REPLAYABLE_CALL(PasteOptionsSetPasteType, 0);
void PasteOptionsSetPasteType(int interaction, int tagPasteOptions, PasteType pasteType,
                              ResultType* result)
{
    Call(s_PasteOptionsSetPasteType, interaction, result,
         OptionsArg<PasteOptions>(tagPasteOptions, "tagPasteOptions"),
         EnumNumberArg<PasteType>(pasteType, "pasteType", CheckArgEnumIn0To2))
        .Run([](Interaction*, ResultType&, PasteOptions* options, int type) {
            if (CheckArgEnumIn0To2(type) == ResultTypeOk)
                options->SetPasteType(static_cast<PasteType>(type));
        });
}

QEL_API_REPLAYABLE_CALL(PasteOptionsSetReblend, 0);
void PasteOptionsSetReblend(int interaction, int tagPasteOptions, bool pasteReblend,
                            ResultType* result)
{
    SetOption(s_PasteOptionsSetReblend, interaction, result, &PasteOptions::SetReblend,
              OptionsArg<PasteOptions>(tagPasteOptions, "tagPasteOptions"),
              BoolArg(pasteReblend, "pasteReblend"));
}

QEL_API_REPLAYABLE_CALL(ShellOptionsSetType, 0);
void ShellOptionsSetType(int interaction, int shellOptionsTag, ShellType shellType,
                         ResultType* result)
{
    SetOption(s_ShellOptionsSetType, interaction, result, &ShellOptions::SetType,
              OptionsArg<ShellOptions>(shellOptionsTag, "ShellOptionsTag"),
              EnumArg<ShellType>(shellType, "ShellType"));
}

QEL_API_REPLAYABLE_CALL(ShellOptionsSetPierceFaces, 0);
void ShellOptionsSetPierceFaces(int interaction, int shellOptionsTag, const Array<int>& pierceFaces,
                                ResultType* result)
{
    SetOption(s_ShellOptionsSetPierceFaces, interaction, result, &ShellOptions::SetPierceFaces,
              OptionsArg<ShellOptions>(shellOptionsTag, "ShellOptionsTag"),
              FacesArg(pierceFaces, "pierceFaces"));
}

QEL_API_REPLAYABLE_CALL(ShellOptionsSetLocalFaces, 0);
void ShellOptionsSetLocalFaces(int interaction, int shellOptionsTag, const Array<int>& localFaces,
                               ShellLocalFaceType localFaceType, ResultType* result)
{
    SetOption(
        s_ShellOptionsSetLocalFaces, interaction, result, &ShellOptions::SetLocalFaces,
        OptionsArg<ShellOptions>(shellOptionsTag, "ShellOptionsTag"),
        FacesArg(localFaces, "localFaces"),
        EnumArg<ShellLocalFaceType>(localFaceType, "ShellLocalFaceType").MappedBy(LocalFacesAdded));
}

QEL_API_REPLAYABLE_CALL(ShellOptionsSetOffsetInFaces, 0);
void ShellOptionsSetOffsetInFaces(int interaction, int shellOptionsTag,
                                  const Array<int>& offsetInFaces,
                                  const Array<double>& offsetInValues, ResultType* result)
{
    SetOption(s_ShellOptionsSetOffsetInFaces, interaction, result, &ShellOptions::SetOffsetInFaces,
              OptionsArg<ShellOptions>(shellOptionsTag, "ShellOptionsTag"),
              FacesArg(offsetInFaces, "offsetInFaces"),
              DoublesArg(offsetInValues, "offsetInValues"));
}

QEL_API_REPLAYABLE_CALL(ShellOptionsSetOffsetOutFaces, 0);
void ShellOptionsSetOffsetOutFaces(int interaction, int shellOptionsTag,
                                   const Array<int>& offsetOutFaces,
                                   const Array<double>& offsetOutValues, ResultType* result)
{
    SetOption(
        s_ShellOptionsSetOffsetOutFaces, interaction, result, &ShellOptions::SetOffsetOutFaces,
        OptionsArg<ShellOptions>(shellOptionsTag, "ShellOptionsTag"),
        FacesArg(offsetOutFaces, "offsetOutFaces"), DoublesArg(offsetOutValues, "offsetOutValues"));
}

QEL_API_REPLAYABLE_CALL(TaperOptionsSetTaperMethodType, 0);
void TaperOptionsSetTaperMethodType(int interaction, int taperOptionsTag,
                                    TaperMethodType taperMethodType, ResultType* result)
{
    SetOption(s_TaperOptionsSetTaperMethodType, interaction, result,
              &TaperOptions::SetTaperMethodType,
              OptionsArg<TaperOptions>(taperOptionsTag, "TaperOptionsTag"),
              EnumArg<TaperMethodType>(taperMethodType, "TaperMethodType"));
}

QEL_API_REPLAYABLE_CALL(TaperOptionsSetTaperLaminarEdgeType, 0);
void TaperOptionsSetTaperLaminarEdgeType(int interaction, int taperOptionsTag,
                                         TaperLaminarEdgeType taperLaminarEdgeType,
                                         ResultType* result)
{
    SetOption(s_TaperOptionsSetTaperLaminarEdgeType, interaction, result,
              &TaperOptions::SetTaperLaminarEdgeType,
              OptionsArg<TaperOptions>(taperOptionsTag, "TaperOptionsTag"),
              EnumArg<TaperLaminarEdgeType>(taperLaminarEdgeType, "TaperLaminarEdgeType"));
}

QEL_API_REPLAYABLE_CALL(TaperOptionsSetMaintainShell, 0);
void TaperOptionsSetMaintainShell(int interaction, int taperOptionsTag, bool maintainShell,
                                  ResultType* result)
{
    SetOption(s_TaperOptionsSetMaintainShell, interaction, result, &TaperOptions::SetMaintainShell,
              OptionsArg<TaperOptions>(taperOptionsTag, "TaperOptionsTag"),
              BoolArg(maintainShell, "MaintainShell"));
}

QEL_API_REPLAYABLE_CALL(TaperOptionsSetReblends, 0);
void TaperOptionsSetReblends(int interaction, int taperOptionsTag, const Array<int>& reblendFaces,
                             ResultType* result)
{
    SetOption(s_TaperOptionsSetReblends, interaction, result, &TaperOptions::SetReblends,
              OptionsArg<TaperOptions>(taperOptionsTag, "TaperOptionsTag"),
              FacesArg(reblendFaces, "reblendFaces"));
}

QEL_API_REPLAYABLE_CALL(TaperOptionsSetTaperEdges, 0);
void TaperOptionsSetTaperEdges(int interaction, int taperOptionsTag, const Array<int>& taperEdges,
                               ResultType* result)
{
    SetOption(s_TaperOptionsSetTaperEdges, interaction, result, &TaperOptions::SetTaperEdges,
              OptionsArg<TaperOptions>(taperOptionsTag, "TaperOptionsTag"),
              TopologyArg(taperEdges, "TaperEdges"));
}

QEL_API_REPLAYABLE_CALL(TaperOptionsSetNormalEdges, 0);
void TaperOptionsSetNormalEdges(int interaction, int taperOptionsTag, const Array<int>& normalEdges,
                                ResultType* result)
{
    SetOption(s_TaperOptionsSetNormalEdges, interaction, result, &TaperOptions::SetNormalEdges,
              OptionsArg<TaperOptions>(taperOptionsTag, "TaperOptionsTag"),
              TopologyArg(normalEdges, "NormalEdges"));
}

QEL_API_REPLAYABLE_CALL(ReplaceOptionsSetEdgeData, 0);
void ReplaceOptionsSetEdgeData(int interaction, int replaceOptionsTag, const Array<int>& edgeTags,
                               const Array<int>& replacementCurves,
                               const Array<double>& edgeTolerances,
                               ReplaceEdgesUseType edgesUseType, ResultType* result)
{
    SetOption(s_ReplaceOptionsSetEdgeData, interaction, result, &ReplaceOptions::SetEdgeData,
              OptionsArg<ReplaceOptions>(replaceOptionsTag, "ReplaceOptionsTag"),
              TopologyArg(edgeTags, "EdgeTags").NotEmpty(),
              GeometryArg(replacementCurves, "replacementCurves").NotEmpty(),
              DoublesArg(edgeTolerances, "edgeTolerances"),
              EnumArg<ReplaceEdgesUseType>(edgesUseType, "ReplaceEdgesUseType"));
}

QEL_API_REPLAYABLE_CALL(ReplaceOptionsSetVertexData, 0);
void ReplaceOptionsSetVertexData(int interaction, int replaceOptionsTag,
                                 const Array<int>& vertexTags,
                                 const Array<Position>& vertexPositions,
                                 const Array<double>& vertexTolerances, ResultType* result)
{
    SetOption(s_ReplaceOptionsSetVertexData, interaction, result, &ReplaceOptions::SetVertexData,
              OptionsArg<ReplaceOptions>(replaceOptionsTag, "ReplaceOptionsTag"),
              TopologyArg(vertexTags, "VertexTags").NotEmpty(),
              PositionsArg(vertexPositions, "VertexPositions"),
              DoublesArg(vertexTolerances, "vertexTolerances"));
}

QEL_API_REPLAYABLE_CALL(ReplaceOptionsSetEdgeHelp, 0);
void ReplaceOptionsSetEdgeHelp(int interaction, int replaceOptionsTag, const Array<int>& edgeHelp,
                               const Array<Position>& edgeHelpPositions, ResultType* result)
{
    SetOption(s_ReplaceOptionsSetEdgeHelp, interaction, result, &ReplaceOptions::SetEdgeHelp,
              OptionsArg<ReplaceOptions>(replaceOptionsTag, "ReplaceOptionsTag"),
              TopologyArg(edgeHelp, "EdgeHelp").NotEmpty(),
              PositionsArg(edgeHelpPositions, "EdgeHelpPositions"));
}

QEL_API_REPLAYABLE_CALL(ReplaceOptionsSetVertexHelp, 0);
void ReplaceOptionsSetVertexHelp(int interaction, int replaceOptionsTag,
                                 const Array<int>& vertexHelp,
                                 const Array<Position>& vertexHelpPositions, ResultType* result)
{
    SetOption(s_ReplaceOptionsSetVertexHelp, interaction, result, &ReplaceOptions::SetVertexHelp,
              OptionsArg<ReplaceOptions>(replaceOptionsTag, "ReplaceOptionsTag"),
              TopologyArg(vertexHelp, "VertexHelp").NotEmpty(),
              PositionsArg(vertexHelpPositions, "VertexHelpPositions"));
}

QEL_API_REPLAYABLE_CALL(ReplaceOptionsSetReplaceMergeType, 0);
void ReplaceOptionsSetReplaceMergeType(int interaction, int replaceOptionsTag,
                                       ReplaceMergeType replaceMergeType, ResultType* result)
{
    SetOption(s_ReplaceOptionsSetReplaceMergeType, interaction, result,
              &ReplaceOptions::SetReplaceMergeType,
              OptionsArg<ReplaceOptions>(replaceOptionsTag, "ReplaceOptionsTag"),
              EnumArg<ReplaceMergeType>(replaceMergeType, "ReplaceMergeType"));
}

QEL_API_REPLAYABLE_CALL(ReplaceOptionsSetMaintainShell, 0);
void ReplaceOptionsSetMaintainShell(int interaction, int replaceOptionsTag, bool maintainShell,
                                    ResultType* result)
{
    SetOption(s_ReplaceOptionsSetMaintainShell, interaction, result,
              &ReplaceOptions::SetMaintainShell,
              OptionsArg<ReplaceOptions>(replaceOptionsTag, "ReplaceOptionsTag"),
              BoolArg(maintainShell, "MaintainShell"));
}

QEL_API_REPLAYABLE_CALL(ReplaceOptionsSetReblends, 0);
void ReplaceOptionsSetReblends(int interaction, int replaceOptionsTag,
                               const Array<int>& reblendFaces, ResultType* result)
{
    SetOption(s_ReplaceOptionsSetReblends, interaction, result, &ReplaceOptions::SetReblends,
              OptionsArg<ReplaceOptions>(replaceOptionsTag, "ReplaceOptionsTag"),
              FacesArg(reblendFaces, "reblendFaces"));
}

QEL_API_REPLAYABLE_CALL(ExtractBodyPersistentDataOptionsSetStore, 0);
void ExtractBodyPersistentDataOptionsSetStore(int interaction,
                                              int tagExtractBodyPersistentDataOptions, bool store,
                                              ResultType* result)
{
    SetOption(s_ExtractBodyPersistentDataOptionsSetStore, interaction, result,
              &ExtractBodyPersistentDataOptions::SetStore,
              OptionsArg<ExtractBodyPersistentDataOptions>(tagExtractBodyPersistentDataOptions,
                                                           "tagExtractBodyPersistentDataOptions"),
              BoolArg(store, "store"));
}

}  // namespace QEL
