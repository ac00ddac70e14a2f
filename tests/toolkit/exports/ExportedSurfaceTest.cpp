// Reads the dynamic symbol table of the toolkit's shared library: the value types and the
// enumeration name functions must be exported in namespace QEL, and internal helpers must not.

#include "core/frame/ApiCallTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// Demangled names of the defined dynamic symbols of a library of the build, without addresses
// and kinds.
std::set<std::string> ExportedSymbols(const std::string& library = "toolkit/libQel.so")
{
    const std::string command = std::string("nm -DC --defined-only '") + QEL_BINARY_DIR + "/" + library + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::set<std::string> symbols;
    if (!pipe)
        return symbols;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe.get())) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        // "<address> <kind> <name>"
        const std::size_t first = text.find(' ');
        const std::size_t second = first == std::string::npos ? first : text.find(' ', first + 1);
        if (second != std::string::npos)
            symbols.insert(text.substr(second + 1));
    }
    return symbols;
}

class ExportedSurface : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_symbols = new std::set<std::string>(ExportedSymbols()); }
    static void TearDownTestSuite()
    {
        delete s_symbols;
        s_symbols = nullptr;
    }

    static bool Has(const std::string& symbol) { return s_symbols->count(symbol) != 0; }
    static bool HasAnyStartingWith(const std::string& start)
    {
        for (const std::string& symbol : *s_symbols)
            if (symbol.compare(0, start.size(), start) == 0)
                return true;
        return false;
    }

    static std::set<std::string>* s_symbols;
};

std::set<std::string>* ExportedSurface::s_symbols = nullptr;

TEST_F(ExportedSurface, LibraryHasExports)
{
    EXPECT_GT(s_symbols->size(), 100u);
}

TEST_F(ExportedSurface, ValueTypesAreExportedInQel)
{
    const char* expected[] = {
        "QEL::Position::Position(double, double, double)",
        "QEL::Position::Position(double const*)",
        "QEL::Position::operator=(QEL::Position const&)",
        "QEL::operator==(QEL::Position const&, QEL::Position const&)",
        "QEL::Double4x4::Double4x4()",
        "QEL::Double4x4::Double4x4(double const (*) [4])",
        "QEL::operator==(QEL::Double4x4 const&, QEL::Double4x4 const&)",
        "QEL::operator==(QEL::Array<double> const&, QEL::Array<double> const&)",
        "bool QEL::operator==<unsigned char>(QEL::Array<unsigned char> const&, QEL::Array<unsigned char> const&)",
    };
    for (const char* symbol : expected)
        EXPECT_TRUE(Has(symbol)) << symbol;

    // Every member of each of the six exported instantiations.
    const char* elementTypes[] = {"int", "double", "QEL::Double4x4", "QEL::Position",
                                  "QEL::Array<int> ", "QEL::InvalidityType"};
    for (std::string element : elementTypes) {
        const std::string array = "QEL::Array<" + element + ">";
        const std::string ref = (element.back() == ' ' ? element.substr(0, element.size() - 1) : element);
        const std::string members[] = {
            array + "::Array()",
            array + "::Array(int, " + ref + " const*)",
            array + "::~Array()",
            array + "::GetSize() const",
            array + "::Capacity() const",
            array + "::GetData() const",
            array + "::GetAt(int) const",
            array + "::operator[](int)",
            array + "::operator[](int) const",
            array + "::SetAt(int, " + ref + " const&)",
            array + "::Add(" + ref + " const&)",
            array + "::InsertAt(int, " + ref + " const&)",
            array + "::RemoveAt(int)",
            array + "::RemoveAll()",
            array + "::Reserve(int)",
            array + "::Assign(int, " + ref + " const&)",
            array + "::Find(" + ref + " const&) const",
            array + "::Erase(" + ref + " const&)",
            "bool QEL::operator==<" + element + ">(" + array + " const&, " + array + " const&)",
        };
        for (const std::string& symbol : members)
            EXPECT_TRUE(Has(symbol)) << symbol;
    }
}

TEST_F(ExportedSurface, EnumerationNameFunctionsAreExported)
{
    const char* exported[] = {
        "ResultType", "BlendIdentifyType", "StepFaceType", "TaperMethodType", "TaperLaminarEdgeType",
        "ReplaceEdgesUseType", "ReplaceMergeType", "UpdateStatus", "ExtractBodyPersistentDataStatus",
        "RestoreBodyPersistentDataStatus", "TrackingDataType", "PasteType", "InvalidityType", "ObjectType",
        "FeatureType", "ReferenceBehaviour", "RelationType", "RelationSubtype", "FindGeometryType",
        "FindRelationType", "PreviewMode", "SolutionDataMode", "ReplayStatus", "RuleState", "RuleType",
        "FoundDataType", "FoundDataState", "OperationType",
    };
    EXPECT_EQ(std::size(exported), 28u);
    for (std::string type : exported) {
        const std::string symbol = "QEL::" + type + "ToString(QEL::" + type + ")";
        EXPECT_TRUE(Has(symbol)) << symbol;
    }
}

TEST_F(ExportedSurface, EveryExportedCallAndTheKernelErrorCountersAreExported)
{
    const std::vector<QEL::ApiCallEntry> calls = QEL::GetApiCalls();
    ASSERT_FALSE(calls.empty());
    for (const QEL::ApiCallEntry& call : calls)
        EXPECT_TRUE(HasAnyStartingWith(std::string("QEL::") + call.properties->name + "("))
            << call.properties->name;
    EXPECT_TRUE(HasAnyStartingWith("QEL::SystemReset("));
    for (const char* data : {"s_countBQArgumentErrors", "s_countBQOtherErrors",
                             "numQELBrennikArgumentErrors", "numQELBrennikOtherErrors"})
        EXPECT_TRUE(Has(data)) << data;
}

TEST_F(ExportedSurface, InternalHelpersStayHidden)
{
    const char* hidden[] = {
        "QEL::ShellTypeToString(", "QEL::ShellLocalFaceTypeToString(", "QEL::ResultTypeFromString(",
        "QEL::EnumFromString(", "QEL::IsEnumTypeName(", "QEL::FormatString(",
        "std::vector<int, std::allocator<int> >& QEL::GetArrayVector<int>(",
        "QEL::KernelClassToString(", "QEL::DTypeToString(", "QEL::Timer::", "MultiplyXforms(",
        "Xform::", "IsEqualWithinTolerance(", "os::",
        // The journal is opened and closed only through the journalling calls, which reset
        // what closing it alone would leave behind.
        "QEL::OpenJournal(", "QEL::CloseJournal(", "QEL::IsJournalOpen(",
        // The platform layers are linked in whole but stay private to the toolkit.
        "BQ_", "HXR_", "ZMR3_", "brennik::", "hxr::", "tessik::",
    };
    for (const char* start : hidden)
        EXPECT_FALSE(HasAnyStartingWith(start)) << start;
}

// Besides its own names the library exports nothing: no instantiation of a standard-library
// template, no type information of a type that is not the toolkit's, no instantiation of its
// internal templates over exported classes.
TEST_F(ExportedSurface, EveryExportIsAToolkitName)
{
    const std::string starts[] = {"QEL::", "bool QEL::operator==<", "vtable for QEL::", "typeinfo for QEL::",
                                  "typeinfo name for QEL::", "non-virtual thunk to QEL::",
                                  "virtual thunk to QEL::"};
    const std::set<std::string> data = {"s_countBQArgumentErrors", "s_countBQOtherErrors",
                                        "numQELBrennikArgumentErrors", "numQELBrennikOtherErrors"};
    for (const std::string& symbol : *s_symbols) {
        bool known = data.count(symbol) != 0;
        for (const std::string& start : starts)
            known = known || symbol.compare(0, start.size(), start) == 0;
        EXPECT_TRUE(known) << symbol;
        for (const char* internal : {"DowncastEntity<", "UpcastEntity<", "Recorded<"})
            EXPECT_EQ(symbol.find(internal), std::string::npos) << symbol;
    }
}

// The platform libraries an application links beside the toolkit export their interfaces, test
// control and fixture builders, and nothing of what they are built on.
TEST(PlatformLibraryExports, InterfacesAreExportedAndWhatTheyAreBuiltOnIsNot)
{
    struct Case {
        const char* library;
        std::vector<std::string> exported;
        std::vector<std::string> firstWordsOfEveryExport;
    };
    const Case cases[] = {
        {"platform/brennik/libbrennik.so",
         {"BQ_SESSION_start(BQ_SESSION_start_o_t const*)", "brennik::test::FailNextCall(char const*, int)",
          "brennik::build::Block(double, double, double)"},
         {"BQ_", "HXR_", "brennik::", "hxr::", "typeinfo for hxr::", "typeinfo name for hxr::",
          "vtable for hxr::"}},
        {"platform/tessik/libtessik.so",
         {"ZMR3_dimension_system::ZMR3_dimension_system(void*, double, double)", "tessik_test::ForceDragResult(int)"},
         {"ZMR3_", "WOF_", "JUN_", "KEV_", "YSK_", "tessik_test::", "typeinfo for ZMR3_", "typeinfo for WOF_",
          "typeinfo name for ZMR3_", "typeinfo name for WOF_", "vtable for ZMR3_", "vtable for WOF_"}},
    };
    for (const Case& c : cases) {
        const std::set<std::string> symbols = ExportedSymbols(c.library);
        for (const std::string& symbol : c.exported)
            EXPECT_TRUE(symbols.count(symbol)) << c.library << ": " << symbol;
        for (const std::string& symbol : symbols) {
            bool known = false;
            for (const std::string& start : c.firstWordsOfEveryExport)
                known = known || symbol.compare(0, start.size(), start) == 0;
            EXPECT_TRUE(known) << c.library << " exports " << symbol;
        }
    }
}

}  // namespace
