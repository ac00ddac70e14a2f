#include "api/model/QelSectionApi.h"

#include "api/ApiCallRows.h"
#include "api/ApiLookups.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/frame/TagCasts.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "model/patterns/Section.h"
#include "model/references/Reference.h"

namespace QEL {

namespace {

// The section's entry of the cut instance as the caller receives it: the section instance's
// tag (0 when there is none) and the two lists replacing the arrays' contents.
bool HandOutMapping(Section* section, Instance* cut, int& sectionInstance, Array<int>& sources,
                    Array<int>& sectionEntities, ResultType& status)
{
    sectionInstance = 0;
    Instance* placed = nullptr;
    Array<int> mappedSources;
    Array<int> mappedSections;
    if (!section->GetSectionMapping(cut, placed, mappedSources, mappedSections)) {
        status = ResultTypeFail;
        return false;
    }
    sectionInstance = placed ? placed->GetTag() : 0;
    sources = mappedSources;
    sectionEntities = mappedSections;
    return true;
}

void WriteInstanceOutput(JournalArguments& journal, const int& tag, const char* name)
{
    journal.WriteJournalArgInstanceTag(tag, name);
}

// The two calls that hand out a cut instance's entry, which both journal as outputs.
template <typename Effect>
bool MappingCall(const ApiCallProperties& call, int interaction, int section, int instance,
                 const char* instanceName, int& sectionInstance, Array<int>& sources,
                 Array<int>& sectionEntities, ResultType* result, Effect effect)
{
    // Stopped before the effect, the call still answers true: only the result tells.
    return Call<bool>(call, interaction, result, OptionsArg<Section>(section, "section"),
                      InstanceArg(instance, instanceName),
                      OutputOf(sectionInstance, "sectionInstance", WriteInstanceOutput),
                      TagsOutput(sources, "sourceEntities"),
                      TagsOutput(sectionEntities, "sectionEntities"))
        .StartsWith(true)
        .Run([&](Interaction*, ResultType& status, Section* found, Instance* cut, int& placed,
                 Array<int>& from, Array<int>& to) {
            return effect(found, cut, status) &&
                   HandOutMapping(found, cut, placed, from, to, status);
        });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(CreateSection, 0);
int CreateSection(int interaction, int sectionConstructionPlane, ResultType* result)
{
    return Call<int>(s_CreateSection, interaction, result,
                     ReferenceArg(sectionConstructionPlane, "sectionConstructionPlane"))
        .Checks([&](Interaction* target) {
            return CheckArgSectionPlaneReference(sectionConstructionPlane, target);
        })
        .ReturnsTag("SectionTag")
        .Run([](Interaction* target, ResultType& status, Reference* plane) {
            return TagOrFail(Section::Create(target, plane), status);
        });
}

QEL_API_REPLAYABLE_CALL(GetSectionsCount, ApiCallQuery);
int GetSectionsCount(int interaction, ResultType* result)
{
    return CountCall(s_GetSectionsCount, interaction, result, &Interaction::GetSectionsCount);
}

QEL_API_REPLAYABLE_CALL(GetSection, ApiCallQuery);
int GetSection(int interaction, int index, ResultType* result)
{
    return IndexedTagCall(s_GetSection, interaction, index, "SectionTag", &Interaction::GetSection,
                          result);
}

QEL_API_REPLAYABLE_CALL_STARTING_AT(SectionGenerateGeometry, 0, true);
bool SectionGenerateGeometry(int interaction, int section, int instanceToCut, int& sectionInstance,
                             Array<int>& sourceEntities, Array<int>& sectionEntities,
                             ResultType* result)
{
    return MappingCall(s_SectionGenerateGeometry, interaction, section, instanceToCut,
                       "instanceToCut", sectionInstance, sourceEntities, sectionEntities, result,
                       [](Section* found, Instance* cut, ResultType& status) {
                           if (!found->GenerateSectionGeometry(cut))
                               status = ResultTypeFail;
                           return status == ResultTypeOk;
                       });
}

QEL_API_REPLAYABLE_CALL_STARTING_AT(SectionGetMapping, ApiCallQuery, true);
bool SectionGetMapping(int interaction, int section, int cutInstance, int& sectionInstance,
                       Array<int>& sourceEntities, Array<int>& sectionEntities, ResultType* result)
{
    return MappingCall(s_SectionGetMapping, interaction, section, cutInstance, "cutInstance",
                       sectionInstance, sourceEntities, sectionEntities, result,
                       [](Section*, Instance*, ResultType&) { return true; });
}

QEL_API_REPLAYABLE_CALL_STARTING_AT(SectionAddGeometry, 0, true);
bool SectionAddGeometry(int interaction, int section, int cutInstance, int sectionInstance,
                        Array<int>& sourceEntities, Array<int>& sectionEntities, ResultType* result)
{
    return Call<bool>(s_SectionAddGeometry, interaction, result,
                      OptionsArg<Section>(section, "section"),
                      InstanceArg(cutInstance, "cutInstance"),
                      InstanceArg(sectionInstance, "sectionInstance"),
                      TagListArg(sourceEntities, "sourceEntities"),
                      TagListArg(sectionEntities, "sectionEntities"))
        .StartsWith(s_SectionAddGeometryStart)
        // Lists of different lengths would break the pairing of section and source entities.
        .Requires([&](Interaction*) {
            return RefusedUnless(sourceEntities.GetSize() == sectionEntities.GetSize());
        })
        .Checks([&](Interaction*) {
            return CheckArgSectionGeometryArrays(sourceEntities, sectionEntities);
        })
        .Run([&](Interaction*, ResultType&, Section* found, Instance* cut, Instance* placed, auto&&,
                 auto&&) {
            return found->AddSectionGeometry(cut, placed, sourceEntities, sectionEntities);
        });
}

QEL_API_REPLAYABLE_CALL(SectionGetPlane, ApiCallQuery);
int SectionGetPlane(int interaction, int sectionTag, ResultType* result)
{
    return Call<int>(s_SectionGetPlane, interaction, result,
                     OptionsArg<Section>(sectionTag, "sectionTag"))
        .ReturnsTag("ReferenceTag")
        .Run([](Interaction*, ResultType& status, Section* found) {
            Reference* plane = found->GetSectionPlane();
            if (!plane)
                status = ResultTypeBadArgument;
            return plane ? plane->GetTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(IsASectionInstance, ApiCallQuery);
bool IsASectionInstance(int interaction, int sectionInstance, ResultType* result)
{
    return Call<bool>(s_IsASectionInstance, interaction, result,
                      InstanceArg(sectionInstance, "sectionInstance").CheckedOnly())
        .Run([](Interaction* target, ResultType&, Instance* instance) {
            for (Section* section : target->GetSections())
                if (instance && section->IsASectionInstance(instance))
                    return true;
            return false;
        });
}

QEL_API_REPLAYABLE_CALL(SectionGetCutInstances, ApiCallQuery);
void SectionGetCutInstances(int interaction, int sectionTag, Array<int>& cutInstances,
                            ResultType* result)
{
    Call(s_SectionGetCutInstances, interaction, result,
         OptionsArg<Section>(sectionTag, "sectionTag"), TagsOutput(cutInstances, "cutInstances"))
        .Checks([&](Interaction*) { return RefusedUnless(!IsArrayNonEmpty(cutInstances)); })
        .Run([](Interaction*, ResultType&, Section* found, Array<int>& list) {
            std::set<Instance*, TaggedEntityPtrLessThan> cut;
            found->GetCutInstances(cut);
            for (Instance* instance : cut)
                list.Add(instance->GetTag());
        });
}

}  // namespace QEL
