// Face patterns: occurrence bookkeeping, collapse when a defining reference goes, divorcing
// occurrences, relative transforms, validity and the file form.
#include "PatternFixture.h"

#include "model/patterns/FacePattern.h"

#include <cmath>

namespace QEL {
namespace testing {
namespace {

const double s_pi = 3.141592653589793;

class FacePatternTest : public PatternTest {
protected:
    void SetUp() override
    {
        PatternTest::SetUp();
        m_faces = FaceReferences(m_block);
        ASSERT_EQ(m_faces.size(), 6u);
        m_axis = LineReference(0, 0, 0, 0, 0, 1);
    }
    std::vector<Reference*> One(int i) { return {m_faces[i]}; }
    // A circular pattern of four occurrences, one face each.
    CircularFacePattern* FourAboutTheAxis()
    {
        std::vector<Reference*> seed = One(0);
        CircularFacePattern* pattern = CircularFacePattern::CreateClosed(m_interaction, seed, 4, m_axis);
        for (int i = 1; i < 4; ++i) {
            std::vector<Reference*> occurrence = One(i);
            pattern->SetOccurrence(occurrence, i);
        }
        return pattern;
    }

    std::vector<Reference*> m_faces;
    Reference* m_axis = nullptr;
};

Vec Moved(const Xform& xform, Vec p)
{
    xform.TransformPoint(p);
    return p;
}

void ExpectNear(const Vec& a, const Vec& b)
{
    EXPECT_NEAR(a.x, b.x, 1e-12);
    EXPECT_NEAR(a.y, b.y, 1e-12);
    EXPECT_NEAR(a.z, b.z, 1e-12);
}

TEST_F(FacePatternTest, ClosedPatternSpacingIsAFullTurnOverTheCount)
{
    const struct {
        int count;
        double spacing;
    } cases[] = {{6, 1.0471975511965976}, {4, s_pi / 2}, {1, 0.0}, {0, 0.0}};
    for (const auto& c : cases) {
        std::vector<Reference*> seed = One(0);
        CircularFacePattern* pattern = CircularFacePattern::CreateClosed(m_interaction, seed, c.count, m_axis);
        EXPECT_EQ(pattern->GetSpacing(), c.spacing) << c.count;
        EXPECT_TRUE(pattern->GetIsClosed());
        EXPECT_EQ(pattern->GetOccurrenceCount(), c.count < 1 ? 0 : c.count);
    }
}

TEST_F(FacePatternTest, OccurrencesLinkTheirReferencesAndEmptyWhenOnlyNulls)
{
    CircularFacePattern* pattern = FourAboutTheAxis();
    EXPECT_EQ(m_faces[1]->GetFacePatternCount(), 1);
    EXPECT_EQ(m_axis->GetFacePatternCount(), 1);
    std::vector<Reference*> nulls = {nullptr, nullptr};
    EXPECT_TRUE(pattern->SetOccurrence(nulls, 1));
    EXPECT_TRUE(pattern->IsOccurrenceEmpty(1));
    EXPECT_EQ(m_faces[1]->GetFacePatternCount(), 0);
    std::vector<Reference*> none;
    EXPECT_TRUE(pattern->SetOccurrence(none, 2));
    EXPECT_TRUE(pattern->IsOccurrenceEmpty(2));
    EXPECT_FALSE(pattern->SetOccurrence(none, 4));
    EXPECT_FALSE(pattern->SetOccurrence(none, -1));

    int position = 7;
    std::vector<Reference*> corresponding;
    EXPECT_FALSE(pattern->GetCorrespondingReferences(m_faces[5]->GetEntityTag(), &position, corresponding, true));
    EXPECT_EQ(position, -1);
    EXPECT_TRUE(pattern->GetCorrespondingReferences(m_faces[3]->GetEntityTag(), &position, corresponding, true));
    EXPECT_EQ(position, 0);
    EXPECT_EQ(corresponding, (std::vector<Reference*>{m_faces[0], nullptr, nullptr, m_faces[3]}));
    EXPECT_TRUE(IsValid(pattern));
}

TEST_F(FacePatternTest, RemovingTheAxisLeavesTheFirstOccurrence)
{
    CircularFacePattern* pattern = FourAboutTheAxis();
    m_axis->Destroy();
    EXPECT_EQ(pattern->GetOccurrenceCount(), 1);
    EXPECT_EQ(pattern->GetSpacing(), 0.0);
    EXPECT_EQ(pattern->GetAxisReference(), nullptr);
    EXPECT_EQ(m_faces[0]->GetFacePatternCount(), 1);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(m_faces[i]->GetFacePatternCount(), 0) << i;
    EXPECT_FALSE(pattern->SetSpacing(1.0));
    EXPECT_TRUE(IsValid(pattern));
}

TEST_F(FacePatternTest, RemovingADirectionKeepsTheFirstColumnOrRow)
{
    Reference* xDir = LineReference(0, 0, 0, 1, 0, 0);
    Reference* yDir = LineReference(0, 0, 0, 0, 1, 0);
    std::vector<Reference*> seed = One(0);
    RectangularFacePattern* grid = RectangularFacePattern::Create(m_interaction, seed, 3, 2, 5.0, 7.0, xDir, yDir);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            std::vector<Reference*> cell = One(grid->GetOccurrenceNum(x, y));
            grid->SetOccurrence(cell, x, y);
        }
    EXPECT_EQ(grid->GetOccurrenceNum(3, 0), -1);
    EXPECT_EQ(grid->GetOccurrenceNum(0, 2), -1);
    std::vector<Reference*> outside = One(0);
    EXPECT_FALSE(grid->SetOccurrence(outside, 0, 2));

    Xform step;
    ASSERT_TRUE(grid->GetRelativeTransform(1, 5, step));
    ExpectNear(Moved(step, Vec(0, 0, 0)), Vec(5.0, 7.0, 0));

    xDir->Destroy();
    EXPECT_EQ(grid->GetXCount(), 1);
    EXPECT_EQ(grid->GetXSpacing(), 0.0);
    ASSERT_EQ(grid->GetOccurrenceCount(), 2);
    EXPECT_EQ(grid->GetOccurrences()[0], One(0));
    EXPECT_EQ(grid->GetOccurrences()[1], One(3));
    EXPECT_EQ(m_faces[1]->GetFacePatternCount(), 0);
    yDir->Destroy();
    EXPECT_EQ(grid->GetOccurrenceCount(), 1);
    EXPECT_EQ(grid->GetYCount(), 1);
    EXPECT_TRUE(IsValid(grid));

    std::vector<Reference*> first = One(0);
    RectangularFacePattern* column = RectangularFacePattern::Create(m_interaction, first, 0, 3, 4.0, 1.0, nullptr,
                                                                    LineReference(0, 0, 0, 0, 1, 0));
    EXPECT_EQ(column->GetXCount(), 1);
    EXPECT_EQ(column->GetXSpacing(), 0.0);
    EXPECT_EQ(column->GetOccurrenceCount(), 3);
}

TEST_F(FacePatternTest, CircularRelativeTransformTurnsAboutTheAxisAndNeedsOne)
{
    CircularFacePattern* pattern = FourAboutTheAxis();
    Xform turn;
    ASSERT_TRUE(pattern->GetRelativeTransform(0, 1, turn));
    ExpectNear(Moved(turn, Vec(1, 0, 3)), Vec(0, 1, 3));
    ASSERT_TRUE(pattern->GetRelativeTransform(3, 1, turn));
    ExpectNear(Moved(turn, Vec(1, 0, 0)), Vec(-1, 0, 0));
    EXPECT_FALSE(pattern->GetRelativeTransform(0, 4, turn));

    std::vector<Reference*> seed = One(0);
    CircularFacePattern* axisless = CircularFacePattern::CreateOpen(m_interaction, seed, 2, 0.5, nullptr);
    EXPECT_FALSE(axisless->GetRelativeTransform(0, 1, turn));
}

class UserDefinedPatternTest : public FacePatternTest {
protected:
    void SetUp() override
    {
        FacePatternTest::SetUp();
        m_t1.SetToTranslation(Vec(10, 0, 0));
        m_t2.SetRotationAboutAxis(Vec(1, 2, 0), Vec(0, 0, 1), 1.0, 0.0);
        std::vector<Reference*> seed = One(0);
        m_pattern = UserDefinedFacePattern::Create(m_interaction, seed);
        std::vector<Reference*> second = One(1);
        std::vector<Reference*> third = One(2);
        ASSERT_TRUE(m_pattern->AddOccurrence(second, m_t1));
        ASSERT_TRUE(m_pattern->AddOccurrence(third, m_t2));
    }
    Xform m_t1;
    Xform m_t2;
    UserDefinedFacePattern* m_pattern = nullptr;
};

TEST_F(UserDefinedPatternTest, LosingTheSeedRebasesTheRestOnTheNextOccurrence)
{
    m_faces[0]->Destroy();
    ASSERT_EQ(m_pattern->GetOccurrenceCount(), 2);
    EXPECT_TRUE(m_pattern->GetOccurrenceXform(0)->IsIdentity());
    // The third copy is now placed relative to the second: T2 after the inverse of T1.
    const Vec p(3, 4, 5);
    ExpectNear(Moved(*m_pattern->GetOccurrenceXform(1), p), Moved(m_t2, Moved(m_t1.GetInverse(), p)));
    ExpectNear(Moved(*m_pattern->GetOccurrenceXform(1), Vec(10, 0, 0)), Moved(m_t2, Vec(0, 0, 0)));
    EXPECT_EQ(*m_pattern->GetOccurrenceRefs(0), One(1));
    EXPECT_EQ(m_pattern->GetOccurrenceXform(2), nullptr);
    EXPECT_TRUE(IsValid(m_pattern));
}

TEST_F(UserDefinedPatternTest, DivorceAndAddRefuseWhatDoesNotFit)
{
    EXPECT_EQ(m_pattern->DivorceOccurrence(3), ResultTypeBadArgument);
    EXPECT_EQ(m_pattern->DivorceOccurrence(-1), ResultTypeBadArgument);
    std::vector<Reference*> two = {m_faces[3], m_faces[4]};
    EXPECT_FALSE(m_pattern->AddOccurrence(two, m_t1));
    EXPECT_EQ(m_pattern->GetOccurrenceCount(), 3);
    EXPECT_EQ(m_pattern->DivorceOccurrence(1), ResultTypeOk);
    EXPECT_EQ(m_faces[1]->GetFacePatternCount(), 0);
    Xform relative;
    ASSERT_TRUE(m_pattern->GetRelativeTransform(0, 1, relative));
    EXPECT_TRUE(AreXformsEqual(relative, m_t2));
}

TEST_F(UserDefinedPatternTest, RollbackTakesBackADivorce)
{
    const int mark = m_interaction->CreateMark();
    ASSERT_EQ(m_pattern->DivorceOccurrence(0), ResultTypeOk);
    m_interaction->RollToMark(mark);
    ASSERT_EQ(m_pattern->GetOccurrenceCount(), 3);
    EXPECT_TRUE(AreXformsEqual(*m_pattern->GetOccurrenceXform(1), m_t1));
}

TEST_F(FacePatternTest, SpoiltPatternsReportTheirBadPointers)
{
    std::vector<FacePattern*> spoilt = {CircularFacePattern::CreateInvalid(m_interaction, 0),
                                        CircularFacePattern::CreateInvalid(m_interaction, 1),
                                        RectangularFacePattern::CreateInvalid(m_interaction, 0),
                                        RectangularFacePattern::CreateInvalid(m_interaction, 1),
                                        RectangularFacePattern::CreateInvalid(m_interaction, 2),
                                        UserDefinedFacePattern::CreateInvalid(m_interaction)};
    EXPECT_EQ(CircularFacePattern::CreateInvalid(m_interaction, 2), nullptr);
    for (FacePattern* pattern : spoilt) {
        std::vector<TaggedEntity*> bad;
        std::vector<InvalidityType> codes;
        EXPECT_FALSE(pattern->CheckValidity(bad, codes));
        EXPECT_EQ(codes, std::vector<InvalidityType>{InvalidityTypeBadPointer});
    }
    for (FacePattern* pattern : spoilt) {
        if (auto* circular = dynamic_cast<CircularFacePattern*>(pattern))
            circular->DestroyInvalid();
        else if (auto* grid = dynamic_cast<RectangularFacePattern*>(pattern))
            grid->DestroyInvalid();
        else
            static_cast<UserDefinedFacePattern*>(pattern)->DestroyInvalid();
    }
}

// ---- File form ---------------------------------------------------------------------------

class FacePatternFileTest : public UserDefinedPatternTest {};

TEST_F(FacePatternFileTest, EveryKindLoadsBackEqual)
{
    FourAboutTheAxis()->SetRigidOccurrences(true);
    std::vector<Reference*> seed = {m_faces[0], nullptr};
    RectangularFacePattern::Create(m_interaction, seed, 2, 1, 2.5, 0.0, LineReference(0, 0, 0, 1, 0, 0), nullptr);
    EXPECT_TRUE(RoundTripsEqual());
    ASSERT_NE(m_loaded, nullptr);
    EXPECT_EQ(m_loaded->GetFacePatterns().size(), 3u);
    // A change of one transform is seen by the comparison.
    m_pattern->SetOccurrenceXform(2, m_t1);
    ResultType result = ResultTypeUnknown;
    EXPECT_FALSE(m_interaction->Compare(m_loaded, false, &result));
}

TEST_F(FacePatternFileTest, PatternCollapsedByItsAxisLoadsBackEqual)
{
    FourAboutTheAxis();
    m_axis->Destroy();
    EXPECT_TRUE(RoundTripsEqual());
}

// Inserts the text before the first occurrence of what after the element of the class.
std::string InsertIn(std::string text, const char* element, const char* what, const char* insert)
{
    const size_t at = text.find(what, text.find(element));
    if (at != std::string::npos)
        text.insert(at, insert);
    return text;
}

TEST_F(FacePatternFileTest, BrokenElementsFailTheLoad)
{
    FourAboutTheAxis();
    const std::string saved = SavedText();
    auto replaced = [&saved](const char* from, const char* to) {
        std::string text = saved;
        ReplaceFirst(text, from, to);
        return text;
    };
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"negative count", replaced("occcurrenceCount=\"3\"", "occcurrenceCount=\"-1\"")},
        {"huge count", replaced("occurrenceCount=\"4\"", "occurrenceCount=\"2000000000\"")},
        {"more occurrences claimed than held", replaced("occurrenceCount=\"4\"", "occurrenceCount=\"5\"")},
        {"several copies without their axis", replaced("axisRef=\"id", "axisRef=\"null\" was=\"")},
        {"an axis that is no reference", replaced("axisRef=\"id", "axisRef=\"id1000")},
        {"a seed longer than its copies",
         InsertIn(saved, "<UserDefinedFacePattern", "<OccRef", "<OccRef referenceRef=\"null\"/>")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Load(c.text), nullptr) << c.what;
        m_loaded = nullptr;
    }
}

TEST_F(FacePatternFileTest, GridWithAnUnreadableFirstCellFailsWhole)
{
    std::vector<Reference*> seed = One(0);
    RectangularFacePattern* grid = RectangularFacePattern::Create(m_interaction, seed, 2, 1, 1.0, 0.0,
                                                                  LineReference(0, 0, 0, 1, 0, 0), nullptr);
    std::vector<Reference*> second = One(1);
    grid->SetOccurrence(second, 1, 0);
    std::string text = SavedText();
    const size_t at = text.find("xIndex=\"0\"", text.find("<RectangularFacePattern"));
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 10, "xIndex=\"9\"");
    EXPECT_EQ(Load(text), nullptr);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
