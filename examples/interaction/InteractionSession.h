#pragma once
// The interaction run through the exported calls: an interaction with its options, a block
// placed as an instance, a mark, a second instance, a roll back to the mark, references on the
// faces of a placed block with a blended edge, the blend face cut away into a sheet of its own,
// the change records and what became of the references, a roll back before the cut, an update,
// a checkpoint of the interaction as it ends and its destruction. The example reports it; the
// journal replay benchmark makes it directly and replays its journal, so both make the same
// calls.
#include "api/debug/QelDebugApi.h"
#include "api/model/QelInstanceApi.h"
#include "api/model/QelMarkApi.h"
#include "api/model/QelObjectApi.h"
#include "api/model/QelReferenceApi.h"
#include "api/model/QelTrackingApi.h"
#include "api/operations/QelModellingApi.h"
#include "api/operations/QelOptionObjectsApi.h"
#include "core/calls/QelInteractionApi.h"
#include "core/enums/EnumNames.h"

#include <brennik.h>
#include <brennik_build.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace InteractionMarks {

inline int CountFaces(int body)
{
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(body, &count, &faces);
    BQ_MEMORY_free(faces);
    return count;
}

// The faces of a body, the first one on a cylinder (the blend) first.
inline std::vector<int> FacesBlendFirst(int body)
{
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(body, &count, &faces);
    std::vector<int> list(faces, faces + count);
    BQ_MEMORY_free(faces);
    std::stable_partition(list.begin(), list.end(), [](int face) {
        int surface = 0;
        int cls = BQ_CLASS_null;
        return BQ_FACE_ask_surf(face, &surface) == BQ_ERROR_no_errors &&
               BQ_ENTITY_ask_class(surface, &cls) == BQ_ERROR_no_errors && cls == BQ_CLASS_cyl;
    });
    return list;
}

// One line per change record of a list: type, old tags -> new tags.
inline void PrintRecords(std::ostream& out, int tag, const char* title,
                         int (*list)(int, QEL::Array<int>*, QEL::ResultType*))
{
    using namespace QEL;
    Array<int> records;
    ResultType result = ResultTypeOk;
    list(tag, &records, &result);
    out << title << ": " << records.GetSize() << "\n";
    for (int i = 0; i < records.GetSize(); ++i) {
        Array<int> olds;
        Array<int> news;
        TrackingDataGetOldTags(tag, records[i], &olds, &result);
        TrackingDataGetNewTags(tag, records[i], &news, &result);
        out << "  " << TrackingDataTypeToString(TrackingDataGetType(tag, records[i], &result))
            << ":";
        for (int j = 0; j < olds.GetSize(); ++j)
            out << " " << olds[j];
        out << " ->";
        for (int j = 0; j < news.GetSize(); ++j)
            out << " " << news[j];
        out << "\n";
    }
}

// Each reference of the list: its entity now, or that it is gone.
inline void PrintReferences(std::ostream& out, int tag, const std::vector<int>& references,
                            const std::vector<int>& entities)
{
    using namespace QEL;
    ResultType result = ResultTypeOk;
    for (size_t i = 0; i < references.size(); ++i) {
        const int entity = ReferenceGetEntity(tag, references[i], &result);
        out << "  reference " << references[i] << " on face " << entities[i] << ": ";
        if (result != ResultTypeOk)
            out << "gone\n";
        else
            out << (entity == entities[i] ? "stays" : "moved to " + std::to_string(entity)) << ", "
                << ReferenceBehaviourToString(ReferenceGetBehaviour(tag, references[i], &result))
                << "\n";
    }
}

inline int Block() { return brennik::build::Block(10.0, 20.0, 30.0); }
inline int BlendedBlock() { return brennik::build::BlockWithBlend(2.0); }

// Makes the run, writing what it saw to `out`; false when the interaction it made does not
// answer its calls, and the run stops there. makeBlock and makeBlendedBlock model the two
// bodies, outside the exported calls.
inline bool MarksAndCut(std::ostream& out, int (*makeBlock)() = &Block,
                        int (*makeBlendedBlock)() = &BlendedBlock)
{
    using namespace QEL;
    ResultType result = ResultTypeOk;
    const int tag = CreateInteraction(&result);
    const ResultType created = result;
    // A tag the toolkit knows answers its calls; an unknown one is refused.
    OptionGetCheckArguments(tag, &result);
    out << "interaction tag " << tag << ": " << ResultTypeToString(created) << ", registered "
        << (result == ResultTypeOk ? "yes" : "no") << "\n";
    if (result != ResultTypeOk)
        return false;
    CreateInteraction(&result);
    out << "a second interaction: " << ResultTypeToString(result) << "\n";
    OptionSetModellingTolerance(tag, 1e-5, &result);
    OptionSetAdaptiveLiftMode(tag, true, &result);
    out << "modelling tolerance " << OptionGetModellingTolerance(tag, &result) << ", adaptive lift "
        << (OptionGetAdaptiveLiftMode(tag, &result) ? "on" : "off") << "\n";
    OptionGetAdaptiveLiftMode(tag + 1000, &result);
    out << "an unknown interaction tag: " << ResultTypeToString(result) << "\n";

    const int block = makeBlock();
    out << "block body " << block << " with " << CountFaces(block) << " faces\n";

    const double placement[4][4] = {{1, 0, 0, 5}, {0, 1, 0, 0}, {0, 0, 1, -2.5}, {0, 0, 0, 1}};
    const int instance = CreateInstance(tag, block, placement, &result);
    out << "instance tag " << instance << ", id " << ObjectGetIdentifier(tag, instance, &result)
        << "\n";

    const int mark = CreateMark(tag, &result);
    bool atMark = false;
    GetCurrentMark(tag, atMark, &result);
    out << "mark " << mark << " made, at mark " << (atMark ? "yes" : "no") << "\n";

    const int second = CreateInstance(tag, block, nullptr, &result);
    GetCurrentMark(tag, atMark, &result);
    out << "a second instance " << second << ", at mark " << (atMark ? "yes" : "no") << "\n";

    RollToMark(tag, mark, &result);
    GetCurrentMark(tag, atMark, &result);
    const bool firstFound =
        InstanceGetBody(tag, instance, &result) == block && result == ResultTypeOk;
    InstanceGetBody(tag, second, &result);
    const bool secondFound = result == ResultTypeOk;
    out << "after rolling back: at mark " << (atMark ? "yes" : "no") << ", first instance found "
        << (firstFound ? "yes" : "no") << ", second found " << (secondFound ? "yes" : "no")
        << ", marks " << GetMarkCount(tag, &result) << "\n";

    // References on the faces of a placed block with a blended edge; the cut of the blend face
    // makes a sheet of it in the block's partition, placed by an instance of its own.
    const int blended = makeBlendedBlock();
    const int placed = CreateInstance(tag, blended, nullptr, &result);
    const std::vector<int> faces = FacesBlendFirst(blended);
    std::vector<int> references;
    for (int face : faces)
        references.push_back(CreateReference(tag, face, placed, &result));
    ReferenceSetBehaviour(tag, references[1], ReferenceBehaviourPositioning, &result);
    Array<int> all;
    out << "blended block " << blended << " placed as " << placed << " with " << faces.size()
        << " faces; references " << GetReferences(tag, &all, &result) << "\n";
    const int beforeCut = CreateMark(tag, &result);
    Array<int> blend;
    blend.Add(faces[0]);
    int partition = 0;
    BQ_ENTITY_ask_partition(blended, &partition);
    const int sheet = Cut(tag, blend, partition, CreateCutOptions(tag, &result), &result);
    out << "blend face " << faces[0] << " cut: " << ResultTypeToString(result) << ", sheet "
        << (sheet ? "made" : "none") << ", block faces " << CountFaces(blended) << "\n";
    PrintRecords(out, tag, "kernel map records", TrackingGetBrennikMapData);
    PrintRecords(out, tag, "kernel label records", TrackingGetBrennikLabelData);
    out << "references after the cut: " << GetReferences(tag, nullptr, &result) << "\n";
    PrintReferences(out, tag, references, faces);

    RollToMark(tag, beforeCut, &result);
    out << "rolled back to the mark before the cut: " << ResultTypeToString(result)
        << ", block faces " << CountFaces(blended) << ", references "
        << GetReferences(tag, nullptr, &result) << "\n";
    PrintReferences(out, tag, references, faces);

    const UpdateStatus update = Update(tag, &result);
    out << "update: " << UpdateStatusToString(update) << ", " << ResultTypeToString(result) << "\n";

    // The journal holds the interaction as it ends, so a replay of the run can be compared.
    DebugJournalCheckpoint(tag, "end", false, &result);
    DestroyInteraction(tag, &result);
    out << "interaction destroyed: " << ResultTypeToString(result);
    OptionGetCheckArguments(tag, &result);
    out << ", its tag now answers " << ResultTypeToString(result) << "\n";
    return true;
}

}  // namespace InteractionMarks
