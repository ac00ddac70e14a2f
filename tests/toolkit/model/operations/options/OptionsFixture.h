// Fixture of the option-object tests: a fresh kernel session, a live interaction and a block
// whose faces and edges the options name, with XML written and read back through a body map
// that knows the block.
#pragma once

#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/TagManager.h"
#include "core/persist/XMLIO.h"

#include <brennik.h>
#include <brennik_build.h>
#include <brennik_test.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace QEL {
namespace testing {

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        brennik::test::RestartSession();
        m_interaction = new Interaction(CreateTypeLive);
        m_block = brennik::build::Block();
        std::set<int> faces;
        GetBodyFaces(m_block, faces);
        m_faces.assign(faces.begin(), faces.end());
        GetFaceEdges(m_faces[0], &m_edges);
        GetFaceVertices(m_faces[0], &m_vertices);
    }
    void TearDown() override
    {
        m_interaction->Destroy();
        EXPECT_EQ(TagManager::GetInteractionCount(), 0);
        brennik::test::Reset();
    }

    // A writer whose body map knows the block.
    std::unique_ptr<XMLIO> Writer()
    {
        auto writer = std::make_unique<XMLIO>("Test", false);
        writer->AddToBodyMap(m_block, 1, 0, false);
        return writer;
    }
    // The text loaded into a reader whose body map knows the block.
    static std::unique_ptr<XMLIO> Reader(const std::string& text, int block)
    {
        auto reader = std::make_unique<XMLIO>("Test", false);
        EXPECT_TRUE(reader->LoadText(text.c_str())) << text;
        reader->AddToBodyMap(block, 1, 0, false);
        return reader;
    }
    std::unique_ptr<XMLIO> Reader(const std::string& text) { return Reader(text, m_block); }
    // A face of a block that no longer exists.
    static int DeadFace()
    {
        const int body = brennik::build::Block(1.0, 1.0, 1.0);
        std::set<int> faces;
        GetBodyFaces(body, faces);
        DeleteEntity(body);
        return *faces.begin();
    }

    Interaction* m_interaction = nullptr;
    int m_block = 0;
    std::vector<int> m_faces;
    std::vector<int> m_edges;
    std::vector<int> m_vertices;
};

}  // namespace testing
}  // namespace QEL
