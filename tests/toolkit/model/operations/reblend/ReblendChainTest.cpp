// Reblend chains merged by face, dependent chains, and thin-wall clusters: their face index,
// their equality and their element.

#include "core/kernel/KernelFacade.h"
#include "core/persist/XMLIO.h"
#include "model/operations/ReblendChain.h"
#include "model/operations/ShellClusterData.h"

#include <brennik_build.h>
#include <brennik_test.h>

#include <gtest/gtest.h>

#include <set>

namespace QEL {
namespace testing {
namespace {

TEST(ReblendChainArray, AChainMergesIntoTheKnownChainOfItsFirstKnownFace)
{
    ReblendChainArray chains;
    std::vector<int> added;
    EXPECT_TRUE(chains.AddChain(ReblendChain({11, 12}, 2.0), added));
    EXPECT_EQ(added, (std::vector<int>{11, 12}));
    added.clear();
    EXPECT_TRUE(chains.AddChain(ReblendChain({12, 13}, 5.0), added));
    EXPECT_EQ(added, (std::vector<int>{13}));
    ASSERT_EQ(chains.GetReblendChainVector().size(), 1u);
    ReblendChain found;
    ASSERT_TRUE(chains.ContainsTagAsBlend(13, found));
    EXPECT_EQ(found.GetFaceArray(), (std::vector<int>{11, 12, 13}));
    EXPECT_EQ(found.GetRadius(), 2.0);
    EXPECT_EQ(found.GetFace(2), 13);
    EXPECT_EQ(found.GetFace(3), 0);

    // Same faces in another order, or another radius by any amount, is another chain.
    EXPECT_TRUE(chains.ContainsChain(ReblendChain({11, 12, 13}, 2.0)));
    EXPECT_FALSE(chains.ContainsChain(ReblendChain({13, 12, 11}, 2.0)));
    EXPECT_FALSE(chains.ContainsChain(ReblendChain({11, 12, 13}, 2.0 + 1e-12)));

    // A chain without faces is appended and indexes nothing.
    added.clear();
    chains.AddChain(ReblendChain(), added);
    EXPECT_EQ(chains.GetReblendChainVector().size(), 2u);
    EXPECT_TRUE(added.empty());
    EXPECT_FALSE(chains.ContainsTagAsBlend(0));
    EXPECT_EQ(chains.GetFaceAndDependentCount(), 3);
}

TEST(ReblendChainArray, DependentChainsOfAFaceComeBackInTheOrderRecorded)
{
    ReblendChainArray chains;
    chains.AddDependentChain(7, ReblendChain({21}, 1.0));
    chains.AddDependentChain(7, ReblendChain({22, 23}, 3.0));
    EXPECT_FALSE(chains.ContainsTagAsBlend(21));
    EXPECT_FALSE(chains.ContainsTagAsBlendDependent(21));
    std::vector<ReblendChain> dependents{ReblendChain({99}, 0.0)};
    ASSERT_TRUE(chains.ContainsTagAsBlendDependent(7, dependents));
    ASSERT_EQ(dependents.size(), 3u);
    EXPECT_EQ(dependents[1].GetRadius(), 1.0);
    EXPECT_EQ(dependents[2].GetFaceArray(), (std::vector<int>{22, 23}));
    EXPECT_EQ(chains.GetFaceAndDependentCount(), 2);
}

TEST(ShellClusterData, ClustersEqualWithSidesSwappedAndThicknessesWithinTolerance)
{
    const ShellClusterData cluster({1, 2}, {3}, 1.0);
    EXPECT_TRUE(cluster == ShellClusterData({3}, {2, 1}, 1.0 + 1e-9));
    EXPECT_FALSE(cluster == ShellClusterData({3}, {2, 1}, 1.1));
    EXPECT_FALSE(cluster == ShellClusterData({1, 2}, {4}, 1.0));
    EXPECT_FALSE(cluster == ShellClusterData({1, 1}, {3}, 1.0));

    ShellClusterDataArray clusters;
    clusters.AddClusterData(cluster);
    clusters.AddClusterData(ShellClusterData({2}, {5}, 2.0));
    EXPECT_EQ(clusters.GetFaceCount(), 4);
    ShellClusterData found;
    ASSERT_TRUE(clusters.ContainsFace(2, &found));
    EXPECT_EQ(found.GetThickness(), 2.0);
    ASSERT_NE(clusters.GetClusterForFace(1), nullptr);
    EXPECT_EQ(clusters.GetClusterForFace(1)->GetThickness(), 1.0);
    EXPECT_EQ(clusters.GetClusterForFace(9), nullptr);
    EXPECT_FALSE(clusters.ContainsFace(9, &found));
}

TEST(ShellClusterData, AClusterReadsBackWithoutTheFacesNoLongerInTheKernel)
{
    brennik::test::RestartSession();
    const int block = brennik::build::Block();
    std::set<int> faceSet;
    GetBodyFaces(block, faceSet);
    const std::vector<int> faces(faceSet.begin(), faceSet.end());
    const int gone = brennik::build::Block(1.0, 1.0, 1.0);
    std::set<int> goneFaces;
    GetBodyFaces(gone, goneFaces);
    DeleteEntity(gone);

    ShellClusterData cluster({faces[0], *goneFaces.begin()}, {faces[1], faces[2]}, 0.125);
    XMLIO writer("Test", false);
    writer.AddToBodyMap(block, 1, 0, false);
    ASSERT_TRUE(cluster.DoIO(writer));
    XMLIO reader("Test", false);
    ASSERT_TRUE(reader.LoadText(writer.ToText().c_str()));
    reader.AddToBodyMap(block, 1, 0, false);
    ShellClusterData back;
    ASSERT_TRUE(back.DoIO(reader));
    EXPECT_EQ(back.GetSide1(), std::vector<int>{faces[0]});
    EXPECT_EQ(back.GetSide2(), (std::vector<int>{faces[1], faces[2]}));
    EXPECT_EQ(back.GetThickness(), 0.125);
    EXPECT_FALSE(back.DoIO(reader));
    brennik::test::Reset();
}

}  // namespace
}  // namespace testing
}  // namespace QEL
