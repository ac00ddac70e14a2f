// The serializer without the kernel: every value form written then read back, the reading
// cursor, object ids and their errors, body maps and refused documents.

#include "core/enums/EnumNames.h"
#include "core/persist/XMLIO.h"
#include "core/xml/XMLStreamWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace QEL {
namespace testing {
namespace {

// Writes one "Item" element through fill, then reads the document back into a fresh reader
// that has entered the same element.
template <typename Fill>
std::unique_ptr<XMLIO> WriteAndReload(Fill fill)
{
    XMLIO writer("Test", false);
    EXPECT_TRUE(writer.BeginElement("Item"));
    fill(writer);
    writer.EndElement(true);
    auto reader = std::make_unique<XMLIO>("Test", false);
    EXPECT_TRUE(reader->LoadText(writer.ToText().c_str()));
    EXPECT_TRUE(reader->BeginElement("Item"));
    return reader;
}

TEST(XMLIOValues, EveryValueKindRoundTrips)
{
    std::string text = "a <b> & \"c\"", empty;
    bool yes = true, no = false;
    int number = -42, zero = 0;
    double tenth = 0.1, tiny = 1.2345678901234567e-300, big = -9.87654321e15;
    Position point(1.5, -2.25, 1e-9);
    int reference = 12, nullReference = 0;
    ResultType result = ResultTypeFail;
    Xform xform;
    xform.SetRotationAboutAxis(Vec(1, 2, 3), Vec(0, 0, 1), 0.6, 0.8);
    std::vector<int> ids{3, 0, 17};
    int ownId = 9;

    auto reader = WriteAndReload([&](XMLIO& w) {
        EXPECT_TRUE(w.DoIOID(ownId, true));
        EXPECT_TRUE(w.DoIO("text", text));
        EXPECT_TRUE(w.DoIO("empty", empty));
        EXPECT_TRUE(w.DoIO("yes", yes));
        EXPECT_TRUE(w.DoIO("no", no));
        EXPECT_TRUE(w.DoIO("number", number));
        EXPECT_TRUE(w.DoIO("zero", zero));
        EXPECT_TRUE(w.DoIO("tenth", tenth));
        EXPECT_TRUE(w.DoIO("tiny", tiny));
        EXPECT_TRUE(w.DoIO("big", big));
        EXPECT_TRUE(w.DoIO("point", point));
        EXPECT_TRUE(w.DoIOIDReference("ref", reference));
        EXPECT_TRUE(w.DoIOIDReference("nullRef", nullReference));
        EXPECT_TRUE(w.DoIOEnum("result", result, ResultTypeToString, ResultTypeFromString));
        EXPECT_TRUE(w.DoIO(xform, true));
        EXPECT_TRUE(w.DoIOObjectReferences("Ref", "to", ids));
    });

    std::string textBack = "x", emptyBack = "x";
    bool yesBack = false, noBack = true;
    int numberBack = 1, zeroBack = 1, referenceBack = 0, nullReferenceBack = 5, ownBack = 0;
    double tenthBack = 0, tinyBack = 0, bigBack = 0;
    Position pointBack;
    ResultType resultBack = ResultTypeOk;
    Xform xformBack;
    xformBack.SetToTranslation(Vec(9, 9, 9));
    std::vector<int> idsBack{99};

    XMLIO& r = *reader;
    EXPECT_TRUE(r.DoIOID(ownBack, true));
    EXPECT_TRUE(r.DoIO("text", textBack));
    EXPECT_TRUE(r.DoIO("empty", emptyBack));
    EXPECT_TRUE(r.DoIO("yes", yesBack));
    EXPECT_TRUE(r.DoIO("no", noBack, true));
    EXPECT_TRUE(r.DoIO("number", numberBack));
    EXPECT_TRUE(r.DoIO("zero", zeroBack));
    EXPECT_TRUE(r.DoIO("tenth", tenthBack));
    EXPECT_TRUE(r.DoIO("tiny", tinyBack));
    EXPECT_TRUE(r.DoIO("big", bigBack));
    EXPECT_TRUE(r.DoIO("point", pointBack));
    EXPECT_TRUE(r.DoIOIDReference("ref", referenceBack));
    EXPECT_TRUE(r.DoIOIDReference("nullRef", nullReferenceBack));
    EXPECT_TRUE(r.DoIOEnum("result", resultBack, ResultTypeToString, ResultTypeFromString));
    EXPECT_TRUE(r.DoIO(xformBack, true));
    EXPECT_TRUE(r.DoIOObjectReferences("Ref", "to", idsBack));

    EXPECT_EQ(ownBack, 9);
    EXPECT_EQ(textBack, text);
    EXPECT_EQ(emptyBack, "");
    EXPECT_TRUE(yesBack);
    EXPECT_FALSE(noBack);
    EXPECT_EQ(numberBack, -42);
    EXPECT_EQ(zeroBack, 0);
    EXPECT_EQ(tenthBack, 0.1);
    EXPECT_DOUBLE_EQ(tinyBack, tiny);
    EXPECT_DOUBLE_EQ(bigBack, big);
    EXPECT_EQ(pointBack.x, 1.5);
    EXPECT_EQ(pointBack.y, -2.25);
    EXPECT_DOUBLE_EQ(pointBack.z, 1e-9);
    EXPECT_EQ(referenceBack, 12);
    EXPECT_EQ(nullReferenceBack, 0);
    EXPECT_EQ(resultBack, ResultTypeFail);
    EXPECT_TRUE(xformBack.IsEqual(xform));
    EXPECT_EQ(idsBack, ids);
}

TEST(XMLIOValues, WrittenFormsAreTheFileFormat)
{
    XMLIO writer("Test", false);
    writer.BeginElement("Item");
    int reference = 12, nullReference = 0, id = 5;
    double hundred = 100;
    bool flag = true;
    std::string empty;
    Xform xform;
    xform.SetToTranslation(Vec(10, 20, 30));
    writer.DoIOID(id, true);
    writer.DoIOIDReference("ref", reference);
    writer.DoIOIDReference("nullRef", nullReference);
    writer.DoIO("hundred", hundred);
    writer.DoIO("flag", flag);
    writer.DoIO("empty", empty);
    ResultType result = ResultTypeFail;
    writer.DoIOEnum("result", result, ResultTypeToString, ResultTypeFromString);
    writer.DoIO(xform, true);
    writer.EndElement(true);
    const std::string text = writer.ToText();
    const std::string expected =
        std::string("<Item id=\"id5\" ref=\"id12\" nullRef=\"null\" hundred=\"100\" flag=\"true\" "
                    "result=\"") + ResultTypeToString(ResultTypeFail) + "\">";
    EXPECT_NE(text.find(expected), std::string::npos) << text;
    EXPECT_NE(text.find("<Transform>1 0 0 0 0 1 0 0 0 0 1 0 10 20 30 1\n"), std::string::npos)
        << text;
    // The header: one Info, one QELVersion and seven component versions before the content.
    EXPECT_LT(text.find("<Info "), text.find("<QELVersion "));
    EXPECT_NE(text.find("<QELVersion major=\"1\" minor=\"2\" build=\"4\""), std::string::npos);
    size_t components = 0;
    for (size_t at = text.find("<ComponentVersion "); at != std::string::npos;
         at = text.find("<ComponentVersion ", at + 1))
        ++components;
    EXPECT_EQ(components, 7u);
    EXPECT_NE(text.find("name=\"JUN\" major=\"38\" minor=\"2\" build=\"8\""), std::string::npos);
}

// Attribute texts as a hand-written file may hold them, and what each reads as.
TEST(XMLIOValues, LenientReadingOfHandWrittenValues)
{
    XMLIO reader("Test", false);
    ASSERT_TRUE(reader.LoadText(
        "<Test><Item a=\"TRUE\" b=\"True\" c=\"yes\" n=\"abc\" r1=\"null\" r2=\"id0\" r3=\"id007\""
        " r4=\"id99999999999\" p=\"1 2\"><Transform></Transform></Item></Test>"));
    ASSERT_TRUE(reader.BeginElement("Item"));
    bool a = false, b = false, c = true, absent = false;
    EXPECT_TRUE(reader.DoIO("a", a));
    EXPECT_TRUE(reader.DoIO("b", b));
    EXPECT_TRUE(reader.DoIO("c", c));
    EXPECT_TRUE(reader.DoIO("absent", absent, true));
    EXPECT_TRUE(a && b && !c && absent);
    int n = 7;
    EXPECT_TRUE(reader.DoIO("n", n));
    EXPECT_EQ(n, 0);
    const std::pair<const char*, int> references[] = {{"r1", 0}, {"r2", 0}, {"r3", 7}, {"r4", 0}, {"none", 0}};
    for (const auto& [name, expected] : references) {
        int id = -1;
        EXPECT_TRUE(reader.DoIOIDReference(name, id));
        EXPECT_EQ(id, expected) << name;
    }
    Position p(5, 5, 5);
    EXPECT_TRUE(reader.DoIO("p", p));
    EXPECT_EQ(p.x, 1);
    EXPECT_EQ(p.z, 0);
    // An empty Transform reads as the all-zero matrix; a missing one as the identity.
    Xform empty;
    EXPECT_TRUE(reader.DoIO(empty, true));
    Vec moved(1, 2, 3);
    empty.TransformPoint(moved);
    EXPECT_EQ(moved.x + moved.y + moved.z, 0.0);
    reader.EndElement(true);
    Xform missing;
    missing.SetToTranslation(Vec(1, 1, 1));
    EXPECT_TRUE(reader.DoIO(missing, true));
    EXPECT_TRUE(missing.IsIdentity());
}

// Numbers read from their leading characters as a stream would read them, and anything a
// stream refuses reads as 0.
TEST(XMLIOValues, NumbersReadFromTheirLeadingCharacters)
{
    struct Case {
        const char* text;
        int asInt;
        double asDouble;
    };
    const Case cases[] = {
        {"42", 42, 42.0},
        {"  -17", -17, -17.0},
        {"+8", 8, 8.0},
        {"007", 7, 7.0},
        {"12.5abc", 12, 12.5},
        {".25", 0, 0.25},
        {"-.5", 0, -0.5},
        {"1e-08", 1, 1e-08},
        {"2.5E+3x", 2, 2500.0},
        {"1e", 1, 0.0},
        {"3e+", 3, 0.0},
        {"-1.2345678901234567e-300", -1, -1.2345678901234567e-300},
        {"99999999999", 0, 99999999999.0},
        {"1e400", 1, 0.0},
        {"4.9e-324", 4, 4.9406564584124654e-324},
        {"1e-400", 1, 0.0},
        {"nan", 0, 0.0},
        {"inf", 0, 0.0},
        {"-inf", 0, 0.0},
        {"+-3", 0, 0.0},
        {"- 3", 0, 0.0},
        {"0x1A", 0, 0.0},
        {"", 0, 0.0},
        {"abc", 0, 0.0},
    };
    std::string document = "<Test><Item";
    for (size_t i = 0; i < std::size(cases); ++i)
        document += " v" + std::to_string(i) + "=\"" + cases[i].text + "\"";
    document += "/></Test>";
    XMLIO reader("Test", false);
    ASSERT_TRUE(reader.LoadText(document.c_str()));
    ASSERT_TRUE(reader.BeginElement("Item"));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string name = "v" + std::to_string(i);
        int asInt = -1;
        double asDouble = -1.0;
        EXPECT_TRUE(reader.DoIO(name.c_str(), asInt));
        EXPECT_TRUE(reader.DoIO(name.c_str(), asDouble));
        EXPECT_EQ(asInt, cases[i].asInt) << '"' << cases[i].text << '"';
        EXPECT_EQ(asDouble, cases[i].asDouble) << '"' << cases[i].text << '"';
    }
}

TEST(XMLIOValues, CursorVisitsChildrenByIndexAndInTurn)
{
    XMLIO writer("Test", false);
    for (int i = 0; i < 4; ++i) {
        writer.BeginElement("Item");
        writer.DoIO("n", i);
        writer.EndElement(true);
        writer.BeginElement("Other");
        writer.EndElement(true);
    }
    XMLIO reader("Test", false);
    ASSERT_TRUE(reader.LoadText(writer.ToText().c_str()));
    EXPECT_EQ(reader.GetChildElementCount("item"), 4);
    int n = -1;
    ASSERT_TRUE(reader.BeginElement("Item", 2));
    reader.DoIO("n", n);
    EXPECT_EQ(n, 2);
    reader.EndElement(true);
    ASSERT_TRUE(reader.BeginElement("Item", -1));
    reader.DoIO("n", n);
    EXPECT_EQ(n, 3);
    reader.EndElement(true);
    EXPECT_FALSE(reader.BeginElement("Item", -1));
    EXPECT_FALSE(reader.BeginElement("Item", 9));
    // Surplus EndElement calls stay at the root.
    reader.EndElement(true);
    reader.EndElement(true);
    EXPECT_EQ(reader.GetChildElementCount("Other"), 4);
    // Writing-only calls refuse to run on a reader.
    EXPECT_FALSE(reader.DoIO("name", "value"));
}

TEST(XMLIOValues, ObjectIdsAreCheckedForZeroAndRepeats)
{
    XMLIO writer("Test", false);
    int zero = 0, five = 5, again = 5;
    writer.BeginElement("A");
    EXPECT_FALSE(writer.DoIOID(zero, true));
    EXPECT_EQ(writer.GetError(0), XMLErrorCodeBadObjectId);
    EXPECT_TRUE(writer.DoIOID(five, true));
    EXPECT_FALSE(writer.DoIOID(again, true));
    EXPECT_EQ(writer.GetError(5), XMLErrorCodeBadObjectId);
    EXPECT_TRUE(writer.DoIOID(again, false));
    writer.EndElement(true);

    const char* twice = "<J><A id=\"id4\"/><A id=\"id4\"/><A id=\"null\"/></J>";
    XMLIO file("J", false);
    ASSERT_TRUE(file.LoadText(twice));
    int id = 0;
    file.BeginElement("A");
    EXPECT_TRUE(file.DoIOID(id, true));
    file.EndElement(true);
    file.BeginElement("A");
    EXPECT_FALSE(file.DoIOID(id, true));
    EXPECT_EQ(id, 0);
    EXPECT_EQ(file.GetError(4), XMLErrorCodeBadObjectId);
    file.EndElement(true);
    file.BeginElement("A");
    EXPECT_FALSE(file.DoIOID(id, true));
    EXPECT_EQ(file.GetError(0), XMLErrorCodeBadObjectId);

    // A journal repeats ids freely.
    XMLIO journal("J", true);
    ASSERT_TRUE(journal.LoadText(twice));
    for (int i = 0; i < 2; ++i) {
        journal.BeginElement("A");
        EXPECT_TRUE(journal.DoIOID(id, true));
        EXPECT_EQ(id, 4);
        journal.EndElement(true);
    }
    EXPECT_TRUE(journal.GetErrors().empty());
}

TEST(XMLIOValues, BodyMapsPairBodiesWithIdsAndIndexes)
{
    XMLIO io("Test", false);
    EXPECT_EQ(io.FindNextBodyId(), 1);
    EXPECT_TRUE(io.AddToBodyMap(100, 1, 0, false));
    EXPECT_TRUE(io.AddToBodyMap(100, 1, 0, false));
    EXPECT_FALSE(io.AddToBodyMap(200, 1, 0, false));
    EXPECT_TRUE(io.AddToBodyMap(300, 4, 2, true));
    EXPECT_EQ(io.FindNextBodyId(), 5);
    bool isVirtual = false;
    EXPECT_EQ(io.FindBodyByIdAndIndex(1, 0), 100);
    EXPECT_EQ(io.FindBodyByIdAndIndex(4, 2, &isVirtual), 300);
    EXPECT_TRUE(isVirtual);
    int id = -1, index = -1;
    EXPECT_FALSE(io.FindBodyIDAndIndex(200, id, index));
    EXPECT_EQ(id + index, 0);
    io.BeginBodyIdContext();
    EXPECT_EQ(io.FindBodyByIdAndIndex(1, 0), 0);
    io.EndBodyIdContext();
    EXPECT_TRUE(io.FindBodyIDAndIndex(300, id, index));
    EXPECT_EQ(id, 4);
    EXPECT_EQ(index, 2);
    // Popping past the bottom leaves a fresh, empty map.
    io.EndBodyIdContext();
    io.EndBodyIdContext();
    EXPECT_EQ(io.FindNextBodyId(), 1);
}

TEST(XMLIOValues, RefusedDocumentsGiveTheirErrorCode)
{
    const std::pair<const char*, XMLErrorCode> cases[] = {
        {"", XMLErrorCodeFileUnreadable},
        {"<Test><Item a=\"1\"></Test>", XMLErrorCodeFileUnreadable},
        {"<Test><Item a=\"1\">", XMLErrorCodeFileUnreadable},
        {"\xff\xfe\x00<", XMLErrorCodeFileUnreadable},
        {"<Other a=\"1\"><Item/></Other>", XMLErrorCodeWrongRoot},
    };
    for (const auto& [text, code] : cases) {
        XMLIO reader("Test", false);
        EXPECT_FALSE(reader.LoadText(text)) << text;
        EXPECT_EQ(reader.GetError(0), code) << text;
        // Every value call fails on the empty document instead of touching it.
        std::string value = "x";
        EXPECT_FALSE(reader.DoIO("a", value));
        EXPECT_FALSE(reader.BeginElement("Item"));
        EXPECT_EQ(reader.GetChildElementCount("Item"), 0);
    }
    XMLIO missing("Test", false);
    EXPECT_FALSE(missing.Load("/nonexistent/dir/file.xml"));
    EXPECT_EQ(missing.GetError(0), XMLErrorCodeFileUnreadable);
}

TEST(XMLIOValues, SaveAndLoadThroughAFile)
{
    const std::string path = ::testing::TempDir() + "xmlio_value_test.xml";
    XMLIO writer("QELXML", false);
    writer.BeginElement("Item");
    std::string name = "dimension <1>";
    writer.DoIOName(name);
    writer.EndElement(true);
    ASSERT_TRUE(writer.Save(path.c_str()));
    XMLIO reader("QELXML", false);
    ASSERT_TRUE(reader.Load(path.c_str()));
    ASSERT_TRUE(reader.BeginElement("Item"));
    std::string back;
    EXPECT_TRUE(reader.DoIOName(back));
    EXPECT_EQ(back, name);
    std::remove(path.c_str());
}

}  // namespace
}  // namespace testing
}  // namespace QEL

namespace QEL {
namespace testing {
namespace {

// A streamed document's output: the pieces as they were handed over.
struct PieceOutput : XMLOutput {
    bool Write(const char* text, std::size_t length) override
    {
        pieces.emplace_back(text, length);
        return true;
    }
    std::string Whole() const
    {
        std::string whole;
        for (const std::string& piece : pieces)
            whole += piece;
        return whole;
    }
    std::vector<std::string> pieces;
};

TEST(XMLIOStreamed, TopLevelElementsReachTheOutputWhenTheyClose)
{
    PieceOutput output;
    XMLIO journal("QELJournal", true);
    EXPECT_FALSE(journal.SetOutput(nullptr));
    ASSERT_TRUE(journal.SetOutput(&output));
    const std::string header = output.Whole();
    EXPECT_EQ(header.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<QELJournal>\n", 0), 0u);
    EXPECT_NE(header.find("<ComponentVersion name=\"JUN\""), std::string::npos);
    const std::string emptyRoot = journal.ToText();

    const size_t headerPieces = output.pieces.size();
    journal.BeginElement("Function");
    std::string name = "a<b";
    journal.DoIOName(name);
    journal.BeginElement("Argument");
    int index = 3;
    journal.DoIO("index", index);
    journal.EndElement(false);
    EXPECT_EQ(output.pieces.size(), headerPieces);  // a nested element stays in memory
    journal.EndElement(true);
    ASSERT_EQ(output.pieces.size(), headerPieces + 1);  // the record in one piece
    EXPECT_EQ(output.pieces.back(),
              "<Function name=\"a&lt;b\">\n  <Argument index=\"3\"/>\n</Function>\n\n");
    // Records leave nothing behind, layout given at the root included.
    EXPECT_EQ(journal.ToText(), emptyRoot);
    journal.BeginElement("Function");
    journal.EndElement(true);
    journal.AddNewline();
    EXPECT_EQ(journal.ToText(), emptyRoot);
    EXPECT_TRUE(journal.Save(nullptr));
    const std::string whole = output.Whole();
    EXPECT_EQ(whole.substr(whole.size() - 15), "\n</QELJournal>\n");

    XMLIO replay("QELJournal", true);
    ASSERT_TRUE(replay.LoadText(whole.c_str()));
    EXPECT_EQ(replay.GetChildElementCount("Function"), 2);
    EXPECT_EQ(replay.GetChildElementCount("ComponentVersion"), 7);
    ASSERT_TRUE(replay.BeginElement("Function", 0));
    std::string back;
    replay.DoIOName(back);
    EXPECT_EQ(back, name);
}

// The streamed text of an element is the text the tree gives for the same calls, also where
// the tree's freedoms show: a value given again, an attribute after the content, text with
// white space at its edges, names differing in case only, a clear-section name, values
// needing escapes at their edges, elements written in one piece.
TEST(XMLIOStreamed, WritesWhatTheTreeWritesForTheSameCalls)
{
    using Calls = void (*)(XMLIO&);
    const Calls cases[] = {
        [](XMLIO& io) {
            io.DoIO("a", "1");
            io.DoIO("b", "2");
            io.DoIO("A", "3 & <4>");  // replaces "a" where it stands
        },
        [](XMLIO& io) {
            io.BeginElement("Inner");
            io.DoIO("x", "1");
            io.EndElement(false);
            io.DoIO("late", "\"quoted\"");
            io.DoIO("late", "again");
            io.DoIO("more", "yes");
        },
        [](XMLIO& io) {
            io.DoIO(" \n padded text\t ");
            io.DoIO("   ");
            io.BeginElement("Deep");
            io.BeginElement("Deeper");
            io.DoIO("body");
            io.EndElement(true);
            io.AddNewline();
            io.EndElement(true);
        },
        [](XMLIO& io) {
            io.BeginElement("PRE");
            io.DoIO("text");
            io.EndElement(false);
            io.BeginElement("Script");
            io.DoIO("text");
            io.DoIO("kind", "late");
            io.EndElement(false);
            io.BeginElement("Empty");
            io.EndElement(true);
        },
        [](XMLIO& io) {
            // Values of each length over a few blocks of the quick check, with a character to
            // escape at the start, at the end or nowhere; elements nested deeper than the
            // layout's short indents.
            for (size_t length = 1; length <= 40; ++length) {
                std::string plain(length, 'v'), last = plain, first = plain;
                last.back() = '&';
                first.front() = '\'';
                io.BeginElement("Value");
                io.DoIO("plain", plain.c_str());
                io.DoIO("last", last.c_str());
                io.DoIO("first", first.c_str());
                io.EndElement(false);
            }
            for (int level = 0; level < 7; ++level)
                io.BeginElement("Level");
            for (int level = 0; level < 7; ++level)
                io.EndElement(true);
        },
        [](XMLIO& io) {
            // Elements written in one piece from a prepared start: as the first content of a
            // start tag still open, after text, nested, with an empty value (left out), a value
            // to escape, and an attribute the start holds already (given again, in any case).
            const XMLPreparedStart start =
                XMLStreamWriter::Prepare("Argument", {{"name", "radius"}, {"type", "double"}});
            const XMLPreparedStart bare = XMLStreamWriter::Prepare("ReturnValue", {});
            io.DoIO("early", "1");
            io.WriteElement(start, "value", "2.5", 3);
            io.DoIO("after text");
            io.WriteElement(bare, "value", "", 0);
            io.WriteElement(start, "value", "<&>", 3);
            io.WriteElement(start, "TYPE", "int", 3);
            io.BeginElement("Nested");
            for (int level = 0; level < 6; ++level) {
                io.BeginElement("Level");
                io.WriteElement(start, "value", "12345678901234567", 17);
            }
            for (int level = 0; level < 7; ++level)
                io.EndElement(level % 2 == 0);
        },
    };
    for (size_t index = 0; index < sizeof cases / sizeof cases[0]; ++index) {
        SCOPED_TRACE(index);
        for (bool multiLine : {true, false}) {
            XMLIO tree("Test", false);
            ASSERT_TRUE(tree.BeginElement("Record"));
            cases[index](tree);
            tree.EndElement(multiLine);
            const std::string treeText = tree.ToText();

            PieceOutput output;
            XMLIO streamed("Test", true);
            ASSERT_TRUE(streamed.SetOutput(&output));
            ASSERT_TRUE(streamed.BeginElement("Record"));
            cases[index](streamed);
            streamed.EndElement(multiLine);
            std::string record = output.pieces.back();
            const std::string after = multiLine ? "\n\n" : "\n";
            ASSERT_EQ(record.substr(record.size() - after.size()), after);
            record.erase(record.size() - after.size());
            const size_t at = treeText.find("<Record");
            ASSERT_NE(at, std::string::npos);
            EXPECT_EQ(record, treeText.substr(at, record.size()));
            // ... and the whole element: only the root's layout and end follow it in the tree.
            const std::string rest = treeText.substr(at + record.size());
            EXPECT_EQ(rest.substr(rest.find_first_not_of('\n')), "</Test>");
        }
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
