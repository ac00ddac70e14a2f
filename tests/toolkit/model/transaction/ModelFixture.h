// Fixtures of the transaction and reference tests: a fresh kernel session with a live
// interaction, fixture bodies, faces found by where they are, and kernel-side views of
// references (their groups) and of what a transaction may leave behind (marks, tracking
// attributes).
#pragma once

#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/TagManager.h"
#include "core/tracking/TrackingData.h"
#include "core/tracking/TrackingManager.h"
#include "model/transaction/Model.h"
#include "model/references/Reference.h"

#include <brennik.h>
#include <brennik_build.h>
#include <brennik_test.h>
#include <brennik_test.h>

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

namespace QEL {
namespace testing {

// The face of the body whose outward normal is (nx, ny, nz) and whose midpoint has the given
// coordinate along that normal; 0 when none.
inline int FaceAt(int body, double nx, double ny, double nz, double offset)
{
    std::set<int> faces;
    GetBodyFaces(body, faces);
    for (int face : faces) {
        Position point;
        Dir normal;
        EvaluateFaceMidpoint(face, &point, &normal);
        const double along = point.x * nx + point.y * ny + point.z * nz;
        if (std::fabs(normal.x - nx) < 1e-9 && std::fabs(normal.y - ny) < 1e-9 &&
            std::fabs(normal.z - nz) < 1e-9 && std::fabs(along - offset) < 1e-6)
            return face;
    }
    return 0;
}

// The first face of the body on a surface of the class.
inline int FaceOfClass(int body, int surfaceClass)
{
    std::set<int> faces;
    GetBodyFaces(body, faces);
    for (int face : faces)
        if (GetGeometryClassOfTopology(face) == surfaceClass)
            return face;
    return 0;
}

inline std::vector<int> GroupMembers(Reference* reference)
{
    std::vector<int> members;
    GetGroupEntities(GetAttributeOwner(reference->GetAttribute()), &members);
    return members;
}

inline int CountPartitionMarks(int entity)
{
    int count = 0;
    int* marks = nullptr;
    BQ_PARTITION_ask_pmarks(GetEntityPartition(entity), &count, &marks);
    BQ_MEMORY_free(marks);
    return count;
}

// Reference-tracking attributes anywhere on the body.
inline int CountTrackingAttributes(int body)
{
    int definition = 0;
    BQ_ATTDEF_find("ORV/QEL_REFERENCE_TRACKING", &definition);
    if (definition == 0)
        return 0;
    std::vector<int> attributes;
    GetPartAttributes(body, definition, &attributes);
    return static_cast<int>(attributes.size());
}

using brennik::test::BodiesEqual;

inline bool IsValid(TaggedEntity* object)
{
    std::vector<TaggedEntity*> bad;
    std::vector<InvalidityType> codes;
    return object->CheckValidity(bad, codes);
}

// A fresh session, one live interaction and a 10 x 20 x 30 block from the origin.
class ModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        brennik::test::RestartSession();
        m_interaction = new Interaction(CreateTypeLive);
        m_block = brennik::build::Block();
        m_top = FaceAt(m_block, 0, 0, 1, 30);
    }
    void TearDown() override
    {
        if (m_interaction)
            m_interaction->Destroy();
        EXPECT_EQ(TagManager::GetInteractionCount(), 0);
        EXPECT_EQ(Model::GetCurrent(), nullptr);
        brennik::test::Reset();
    }
    TrackingManager& Manager() { return *m_interaction->GetTrackingManager(); }
    size_t CountTrackingData()
    {
        return Manager().GetBrennikMapData().size() + Manager().GetBrennikLabelData().size() +
               Manager().GetQELData().size() + Manager().GetQELUpdateData().size();
    }
    // The map data of the kind that names the tag among its old tags.
    TrackingData* MapDataOf(TrackingDataType type, int oldTag)
    {
        for (TrackingData* data : Manager().GetBrennikMapData())
            if (data->GetType() == type)
                for (int tag : data->GetOldTags())
                    if (tag == oldTag)
                        return data;
        return nullptr;
    }

    Interaction* m_interaction = nullptr;
    int m_block = 0;
    int m_top = 0;
};

}  // namespace testing
}  // namespace QEL
