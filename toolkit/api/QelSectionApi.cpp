#include "api/QelSectionApi.h"

#include "api/ApiLookups.h"
#include "api/ApiCallRows.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/frame/TagCasts.h"
#include "model/references/Reference.h"
#include "model/patterns/Section.h"

namespace QEL {

namespace {

Section* SectionOrRefuse(Interaction* interaction, int tag, ResultType& status)
{
    return FoundOrRefuse(CastTagToSection(interaction, tag), status);
}

Instance* InstanceOrRefuse(Interaction* interaction, int tag, ResultType& status)
{
    return FoundOrRefuse(interaction->FindInstanceFromTag(tag), status);
}

std::function<ResultType(Interaction*)> CheckSectionAndInstance(const int& section, const int& instance)
{
    return [&section, &instance](Interaction* target) {
        return FirstFailure({CheckArgTagIsSection(section, target), CheckArgInstanceTag(instance, target)});
    };
}

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

std::function<void(JournalArguments&)> JournalSectionAndInstance(const int& section, const int& instance,
                                                                 const char* instanceName)
{
    return [&section, &instance, instanceName](JournalArguments& journal) {
        journal.WriteJournalArgSectionTag(section, "section");
        journal.WriteJournalArgInstanceTag(instance, instanceName);
    };
}

std::function<void(JournalArguments&)> JournalMappingOutputs(const int& sectionInstance, const Array<int>& sources,
                                                             const Array<int>& sectionEntities)
{
    return [&](JournalArguments& journal) {
        journal.WriteJournalArgInstanceTag(sectionInstance, "sectionInstance");
        journal.WriteJournalArgTagArray(GetArrayVector(sources), "sourceEntities");
        journal.WriteJournalArgTagArray(GetArrayVector(sectionEntities), "sectionEntities");
    };
}

}  // namespace

QEL_API_REPLAYABLE_CALL(CreateSection, 0);
int CreateSection(int interaction, int sectionConstructionPlane, ResultType* result)
{
    return ApiCall<int>(s_CreateSection, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgReferenceTag(sectionConstructionPlane, "sectionConstructionPlane");
        })
        .Checks([&](Interaction* target) { return CheckArgSectionPlaneReference(sectionConstructionPlane, target); })
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnSectionTag(tag); })
        .Run([&](Interaction* target, ResultType& status) {
            Reference* plane = FoundOrRefuse(CastTagToReference(target, sectionConstructionPlane), status);
            Section* section = plane ? Section::Create(target, plane) : nullptr;
            if (plane && !section)
                status = ResultTypeFail;
            return section ? section->GetTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(GetSectionsCount, ApiCallQuery);
int GetSectionsCount(int interaction, ResultType* result)
{
    return ApiCall<int>(s_GetSectionsCount, interaction, result).Run([](Interaction* target, ResultType&) {
        return target->GetSectionsCount();
    });
}

QEL_API_REPLAYABLE_CALL(GetSection, ApiCallQuery);
int GetSection(int interaction, int index, ResultType* result)
{
    return ApiCall<int>(s_GetSection, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgInt(index, "index"); })
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnSectionTag(tag); })
        .Run([&](Interaction* target, ResultType& status) {
            Section* section = target->GetSection(index);
            if (!section)
                status = ResultTypeFail;
            return section ? section->GetTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(SectionGenerateGeometry, 0);
bool SectionGenerateGeometry(int interaction, int section, int instanceToCut, int& sectionInstance,
                             Array<int>& sourceEntities, Array<int>& sectionEntities, ResultType* result)
{
    return ApiCall<bool>(s_SectionGenerateGeometry, interaction, result)
        .Inputs(JournalSectionAndInstance(section, instanceToCut, "instanceToCut"))
        .Checks(CheckSectionAndInstance(section, instanceToCut))
        .Outputs(JournalMappingOutputs(sectionInstance, sourceEntities, sectionEntities))
        .Run([&](Interaction* target, ResultType& status) {
            Section* found = SectionOrRefuse(target, section, status);
            Instance* cut = found ? InstanceOrRefuse(target, instanceToCut, status) : nullptr;
            if (!cut)
                return false;
            if (!found->GenerateSectionGeometry(cut)) {
                status = ResultTypeFail;
                return false;
            }
            return HandOutMapping(found, cut, sectionInstance, sourceEntities, sectionEntities, status);
        });
}

QEL_API_REPLAYABLE_CALL(SectionGetMapping, ApiCallQuery);
bool SectionGetMapping(int interaction, int section, int cutInstance, int& sectionInstance,
                       Array<int>& sourceEntities, Array<int>& sectionEntities, ResultType* result)
{
    return ApiCall<bool>(s_SectionGetMapping, interaction, result)
        .Inputs(JournalSectionAndInstance(section, cutInstance, "cutInstance"))
        .Checks(CheckSectionAndInstance(section, cutInstance))
        .Outputs(JournalMappingOutputs(sectionInstance, sourceEntities, sectionEntities))
        .Run([&](Interaction* target, ResultType& status) {
            Section* found = SectionOrRefuse(target, section, status);
            Instance* cut = found ? InstanceOrRefuse(target, cutInstance, status) : nullptr;
            return cut && HandOutMapping(found, cut, sectionInstance, sourceEntities, sectionEntities, status);
        });
}

QEL_API_REPLAYABLE_CALL(SectionAddGeometry, 0);
bool SectionAddGeometry(int interaction, int section, int cutInstance, int sectionInstance,
                        Array<int>& sourceEntities, Array<int>& sectionEntities, ResultType* result)
{
    return ApiCall<bool>(s_SectionAddGeometry, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgSectionTag(section, "section");
            journal.WriteJournalArgInstanceTag(cutInstance, "cutInstance");
            journal.WriteJournalArgInstanceTag(sectionInstance, "sectionInstance");
            journal.WriteJournalArgTagArray(GetArrayVector(sourceEntities), "sourceEntities");
            journal.WriteJournalArgTagArray(GetArrayVector(sectionEntities), "sectionEntities");
        })
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgTagIsSection(section, target), CheckArgInstanceTag(cutInstance, target),
                                 CheckArgInstanceTag(sectionInstance, target),
                                 CheckArgSectionGeometryArrays(sourceEntities, sectionEntities)});
        })
        .Run([&](Interaction* target, ResultType& status) {
            Section* found = SectionOrRefuse(target, section, status);
            Instance* cut = found ? InstanceOrRefuse(target, cutInstance, status) : nullptr;
            Instance* placed = cut ? InstanceOrRefuse(target, sectionInstance, status) : nullptr;
            // Lists of different lengths would break the pairing of section and source entities.
            if (placed && sourceEntities.GetSize() != sectionEntities.GetSize())
                status = ResultTypeBadArgument;
            return placed && status == ResultTypeOk &&
                   found->AddSectionGeometry(cut, placed, sourceEntities, sectionEntities);
        });
}

QEL_API_REPLAYABLE_CALL(SectionGetPlane, ApiCallQuery);
int SectionGetPlane(int interaction, int sectionTag, ResultType* result)
{
    return ApiCall<int>(s_SectionGetPlane, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgSectionTag(sectionTag, "sectionTag"); })
        .Checks([&](Interaction* target) { return CheckArgTagIsSection(sectionTag, target); })
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnReferenceTag(tag); })
        .Run([&](Interaction* target, ResultType& status) {
            Section* found = SectionOrRefuse(target, sectionTag, status);
            Reference* plane = found ? found->GetSectionPlane() : nullptr;
            if (found && !plane)
                status = ResultTypeBadArgument;
            return plane ? plane->GetTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(IsASectionInstance, ApiCallQuery);
bool IsASectionInstance(int interaction, int sectionInstance, ResultType* result)
{
    return ApiCall<bool>(s_IsASectionInstance, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgInstanceTag(sectionInstance, "sectionInstance");
        })
        .Checks([&](Interaction* target) { return CheckArgInstanceTag(sectionInstance, target); })
        .Run([&](Interaction* target, ResultType&) {
            Instance* instance = target->FindInstanceFromTag(sectionInstance);
            for (Section* section : target->GetSections())
                if (instance && section->IsASectionInstance(instance))
                    return true;
            return false;
        });
}

QEL_API_REPLAYABLE_CALL(SectionGetCutInstances, ApiCallQuery);
void SectionGetCutInstances(int interaction, int sectionTag, Array<int>& cutInstances, ResultType* result)
{
    ApiCall<>(s_SectionGetCutInstances, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgSectionTag(sectionTag, "sectionTag"); })
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgTagIsSection(sectionTag, target),
                                 IsArrayNonEmpty(cutInstances) ? ResultTypeBadArgument : ResultTypeOk});
        })
        .Outputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTagArray(GetArrayVector(cutInstances), "cutInstances");
        })
        .Run([&](Interaction* target, ResultType& status) {
            Section* found = SectionOrRefuse(target, sectionTag, status);
            if (!found)
                return;
            std::set<Instance*, TaggedEntityPtrLessThan> cut;
            found->GetCutInstances(cut);
            for (Instance* instance : cut)
                cutInstances.Add(instance->GetTag());
        });
}

}  // namespace QEL
