// Transmit and receive of every fixture: identifiers, groups, attributes and geometry survive.
#include "ModelState.h"

#include "brennik_build.h"

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

class TransmitTest : public KernelTest {
 protected:
  // `body` sent through memory with `out` and received in the same form, add-on data as sent.
  void SendAndReceive(int body, const BQ_PART_transmit_o_t& out, std::vector<int>* received) {
    BQ_MEMORY_block_t* block = nullptr;
    ASSERT_EQ(BQ_PART_transmit_b(1, &body, &out, &block), 0);
    ASSERT_NE(block, nullptr);
    const BQ_PART_receive_o_t in{1, out.format, out.transmit_addon_data};
    int n = 0;
    int* parts = nullptr;
    ASSERT_EQ(BQ_PART_receive_b(block, &in, &n, &parts), 0);
    BQ_MEMORY_block_f(block);
    *received = Take(n, parts);
  }
  int Attdef() {
    const int owners[] = {BQ_CLASS_face, BQ_CLASS_edge, BQ_CLASS_body, BQ_CLASS_group};
    const int types[] = {BQ_FIELD_type_int, BQ_FIELD_type_pointer};
    const char* names[] = {"value", "object"};
    BQ_ATTDEF_sf_t form{"TEST/TRANSMIT", BQ_ATTDEF_class_normal, 4, owners, 2, types, names};
    int attdef = 0;
    BQ_ATTDEF_find("TEST/TRANSMIT", &attdef);
    if (attdef == 0) BQ_ATTDEF_create_2(&form, &attdef);
    return attdef;
  }
  // Faces, edges and vertices by identifier, with their classes; groups by member identifiers;
  // attribute integers by owner identifier.
  std::map<int, std::string> Picture(int body, int attdef) {
    std::map<int, std::string> out;
    for (ListCall call : {ListCall(BQ_BODY_ask_faces), ListCall(BQ_BODY_ask_edges), ListCall(BQ_BODY_ask_vertices)})
      for (int tag : List(call, body)) {
        int id = 0;
        BQ_ENTITY_ask_identifier(tag, &id);
        std::ostringstream text;
        text << ClassOf(tag);
        DescribeAttributeValues(tag, attdef, text);
        out[id] = text.str();
      }
    int n = 0;
    int* groups = nullptr;
    BQ_PART_ask_groups(body, &n, &groups);
    int index = 0;
    for (int group : Take(n, groups)) {
      std::ostringstream text;
      text << "group";
      for (int m : List(BQ_GROUP_ask_entities, group)) {
        int id = 0;
        BQ_ENTITY_ask_identifier(m, &id);
        text << " " << id;
      }
      DescribeAttributeValues(group, attdef, text);
      out[-1 - index++] = text.str();
    }
    return out;
  }
  static void DescribeAttributeValues(int owner, int attdef, std::ostringstream& out) {
    int n = 0;
    int* attribs = nullptr;
    BQ_ENTITY_ask_attribs(owner, attdef, &n, &attribs);
    for (int a : Take(n, attribs)) {
      int value = 0;
      BQ_ATTRIB_ask_nth_int(a, 0, 0, &value);
      out << " attrib=" << value;
    }
  }
  void Decorate(int body, int attdef) {
    std::vector<int> faces = List(BQ_BODY_ask_faces, body);
    std::vector<int> edges = List(BQ_BODY_ask_edges, body);
    int group = 0;
    int members[] = {faces.back(), edges.front(), faces.front()};
    BQ_GROUP_create_from_entities(body, 1000, 3, members, &group);
    int a = 0;
    BQ_ATTRIB_create_empty(faces.front(), attdef, &a);
    int value = 42;
    BQ_ATTRIB_set_ints(a, 0, 1, &value);
    void* pointer = this;
    BQ_ATTRIB_set_named_pointers(a, "object", 1, &pointer);
    BQ_ATTRIB_create_empty(group, attdef, &a);
    value = 9;
    BQ_ATTRIB_set_ints(a, 0, 1, &value);
  }
  void ExpectSame(int original, int received, int attdef) {
    EXPECT_EQ(Picture(original, attdef), Picture(received, attdef));
    // Received bodies keep their identifiers and attributes: nothing at all is reported.
    BQ_DEBUG_BODY_compare_r_t results{};
    ASSERT_EQ(BQ_DEBUG_BODY_compare(original, received, nullptr, &results), 0);
    EXPECT_EQ(results.topology_result, BQ_DEBUG_topology_same);
    EXPECT_EQ(results.geometry_result, BQ_DEBUG_geometry_same);
    EXPECT_EQ(results.n_reports, 0);
    BQ_DEBUG_BODY_compare_r_f(&results);
  }
};

struct Fixture {
  const char* name;
  std::function<int()> build;
};

const Fixture kFixtures[] = {
    {"block", [] { return brennik::build::Block(); }},
    {"L prism", [] { return brennik::build::LPrism(); }},
    {"one blend", [] { return brennik::build::BlockWithBlend(); }},
    {"blend chain", [] { return brennik::build::BlockWithBlendChain(); }},
    {"two blends", [] { return brennik::build::BlockWithTwoBlends(2.0, 3.0); }},
    {"blended corner", [] { return brennik::build::BlockWithBlendedCorner(); }},
    {"thin-walled box", [] { return brennik::build::ThinWalledBox(); }},
    {"turned part", [] { return brennik::build::TurnedPart(); }},
    {"plate with holes", [] { return brennik::build::PlateWithHoles(); }},
    {"plate with patterns", [] { return brennik::build::PlateWithHolePatterns(); }},
    {"sheet", [] { return brennik::build::Sheet(); }},
};

TEST_F(TransmitTest, EveryFixtureSurvivesMemoryTransmitInBothForms) {
  int attdef = Attdef();
  for (const auto& fixture : kFixtures) {
    for (int format : {int(BQ_PART_format_text), int(BQ_PART_format_binary)}) {
      SCOPED_TRACE(std::string(fixture.name) + (format == BQ_PART_format_text ? " text" : " binary"));
      int body = fixture.build();
      ASSERT_NE(body, 0);
      Decorate(body, attdef);
      std::vector<int> received;
      ASSERT_NO_FATAL_FAILURE(SendAndReceive(body, {2, format, true}, &received));
      ASSERT_EQ(received.size(), 1u);
      EXPECT_NE(received[0], body);
      ExpectSame(body, received[0], attdef);
    }
  }
}

TEST_F(TransmitTest, PointerFieldsTravelEmpty) {
  int attdef = Attdef();
  int body = brennik::build::Block();
  Decorate(body, attdef);
  BQ_PART_transmit_o_t out{2, BQ_PART_format_text, false};
  BQ_MEMORY_block_t* block = nullptr;
  BQ_PART_transmit_b(1, &body, &out, &block);
  BQ_PART_receive_o_t in{1, BQ_PART_format_text, false};
  int n = 0;
  int* parts = nullptr;
  ASSERT_EQ(BQ_PART_receive_b(block, &in, &n, &parts), 0);
  BQ_MEMORY_block_f(block);
  int copy = Take(n, parts)[0];
  int count = 0;
  int* attribs = nullptr;
  BQ_PART_ask_all_attribs(copy, attdef, &count, &attribs);
  for (int a : Take(count, attribs)) {
    int np = -1;
    void** pointers = nullptr;
    ASSERT_EQ(BQ_ATTRIB_ask_named_pointers(a, "object", &np, &pointers), 0);
    EXPECT_EQ(np, 0);
    BQ_MEMORY_free(pointers);
  }
}

// The same change on the sent body and on the received one numbers the entities it makes
// alike: the received body's counter stands where the sent one's did.
TEST_F(TransmitTest, AReceivedBodyNumbersWhatItGainsAsTheSentOneDoes) {
  for (int format : {BQ_PART_format_text, BQ_PART_format_binary}) {
    SCOPED_TRACE(format);
    int body = brennik::build::BlockWithBlend();
    std::vector<int> received;
    ASSERT_NO_FATAL_FAILURE(SendAndReceive(body, {2, format, false}, &received));
    const int copy = received[0];
    for (int target : {body, copy}) {
      int blend = 0;
      for (int face : List(BQ_BODY_ask_faces, target)) {
        int surface = 0;
        BQ_FACE_ask_surf(face, &surface);
        if (ClassOf(surface) == BQ_CLASS_cyl) blend = face;
      }
      ASSERT_NE(blend, 0);
      int count = 0;
      int* bodies = nullptr;
      ASSERT_EQ(BQ_FACE_delete(1, &blend, nullptr, nullptr, &count, &bodies), 0);
      BQ_MEMORY_free(bodies);
    }
    EXPECT_EQ(Picture(body, 0), Picture(copy, 0));
  }
}

TEST_F(TransmitTest, FileHoldsSeveralPartsAndIsFoundByKey) {
  int attdef = Attdef();
  int a = brennik::build::LPrism();
  int b = brennik::build::TurnedPart();
  Decorate(a, attdef);
  std::string key = ::testing::TempDir() + "brennik_two_parts";
  int parts[] = {a, b};
  BQ_PART_transmit_o_t out{2, BQ_PART_format_text, true};
  ASSERT_EQ(BQ_PART_transmit(2, parts, key.c_str(), &out), 0);
  BQ_PART_receive_o_t in{1, BQ_PART_format_text, true};
  int n = 0;
  int* received = nullptr;
  ASSERT_EQ(BQ_PART_receive(key.c_str(), &in, &n, &received), 0);
  std::vector<int> got = Take(n, received);
  ASSERT_EQ(got.size(), 2u);
  ExpectSame(a, got[0], attdef);
  ExpectSame(b, got[1], attdef);
  std::remove((key + ".b_t").c_str());
}

TEST_F(TransmitTest, BrokenDataIsRefusedAndChangesNothing) {
  int body = brennik::build::Block();
  BQ_PART_transmit_o_t out{2, BQ_PART_format_binary, true};
  BQ_MEMORY_block_t* block = nullptr;
  BQ_PART_transmit_b(1, &body, &out, &block);
  block->n_bytes /= 2;  // cut short
  std::string before = DescribePartition(CurrentPartition());
  BQ_PART_receive_o_t in{1, BQ_PART_format_binary, true};
  int n = -1;
  int* parts = nullptr;
  EXPECT_EQ(BQ_PART_receive_b(block, &in, &n, &parts), BQ_ERROR_bad_transmit_data);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(DescribePartition(CurrentPartition()), before);
  BQ_PART_receive_o_t wrongForm{1, BQ_PART_format_text, true};
  EXPECT_EQ(BQ_PART_receive_b(block, &wrongForm, &n, &parts), BQ_ERROR_bad_transmit_data);
  BQ_MEMORY_block_f(block);
  EXPECT_EQ(BQ_PART_receive("/nonexistent/nowhere", &in, &n, &parts), BQ_ERROR_file_failure);
}

// The text payload of one part around its shape: the shape's OCCT text and the tokens after it
// (identifiers, groups, attributes), so that cases can change one thing and seal the result.
struct TextPart {
  long long identifier = 0, next = 0;
  std::string shape, tail;

  explicit TextPart(const std::string& payload) {
    std::istringstream in(payload);
    long long parts = 0, length = 0;
    in >> parts >> identifier >> next >> length;
    in.ignore(16, '\n');
    const std::size_t at = static_cast<std::size_t>(in.tellg());
    shape = payload.substr(at, static_cast<std::size_t>(length));
    tail = payload.substr(at + static_cast<std::size_t>(length));
  }
  std::string Payload() const {
    std::ostringstream out;
    out << "1 \n" << identifier << ' ' << next << " \n" << shape.size() << " \n" << shape << tail;
    return out.str();
  }
  std::vector<long long> Tokens() const {
    std::istringstream in(tail);
    std::vector<long long> out;
    std::string token;
    while (in >> token) out.push_back(std::atoll(token.c_str()));
    return out;
  }
  // Replaces the index-th token after the shape.
  void SetToken(std::size_t index, long long value) {
    std::size_t at = 0;
    for (std::size_t i = 0;; ++i) {
      at = tail.find_first_not_of(" \n", at);
      const std::size_t end = tail.find_first_of(" \n", at);
      if (i == index) {
        tail.replace(at, end - at, std::to_string(value));
        return;
      }
      at = end;
    }
  }
  // Index of the first attribute's first field type (the layout the writer follows; the
  // decorated block has no attached geometry).
  std::size_t FirstFieldType() const {
    std::vector<long long> t = Tokens();
    std::size_t i = 0;
    for (int list = 0; list < 3; ++list) i += 1 + 2 * static_cast<std::size_t>(t[i]);
    ++i;  // attached geometry: none
    const long long groups = t[i++];
    for (long long g = 0; g < groups; ++g) {
      ++i;  // class
      i += 1 + 2 * static_cast<std::size_t>(t[i]);
    }
    ++i;     // attribute count
    i += 3;  // name (length and text), class
    i += 1 + static_cast<std::size_t>(t[i]);
    return i + 1;  // after the field count
  }
  // Replaces the first line after the line starting with `marker` in the shape text.
  void SetLineAfter(const std::string& marker, const std::string& line) {
    const std::size_t at = shape.find('\n', shape.find(marker)) + 1;
    shape.replace(at, shape.find('\n', at) - at, line);
  }
};

std::string SealedText(const TextPart& part) { return brennik::test::SealTransmitData(part.Payload(), false); }

struct Damage {
  const char* name;
  std::vector<int> formats;
  std::function<std::string(const std::string& data, bool binary)> apply;
  std::function<void()> prepare;  // in the receiving session, before the data arrives
};

const std::vector<int> kBothForms{BQ_PART_format_text, BQ_PART_format_binary};
const std::vector<int> kTextForm{BQ_PART_format_text};

const Damage kDamages[] = {
    {"a byte changed", kBothForms, [](std::string data, bool) {
       data[data.size() / 2] ^= 0x20;
       return data;
     }, {}},
    {"cut short", kBothForms, [](const std::string& data, bool) { return data.substr(0, data.size() - 10); }, {}},
    {"the other form", kBothForms, [](const std::string& data, bool binary) {
       return brennik::test::SealTransmitData(brennik::test::TransmitPayload(data), !binary);
     }, {}},
    {"the container before checksums", kBothForms, [](const std::string& data, bool binary) {
       return std::string("BRENNIK-PARTS 1 ") + (binary ? "B" : "T") + "\n" + brennik::test::TransmitPayload(data);
     }, {}},
    {"a length past the end", kTextForm, [](const std::string&, bool) {
       return brennik::test::SealTransmitData("1 \n1 2 \n4000000000 \n", false);
     }, {}},
    {"two faces with one identifier", kTextForm, [](const std::string& data, bool) {
       TextPart part(brennik::test::TransmitPayload(data));
       part.SetToken(3, part.Tokens()[1]);
       return SealedText(part);
     }, {}},
    {"a field type no definition can have", kTextForm, [](const std::string& data, bool) {
       TextPart part(brennik::test::TransmitPayload(data));
       part.SetToken(part.FirstFieldType(), 77);
       return SealedText(part);
     }, {}},
    {"a vertex off its edges", kTextForm, [](const std::string& data, bool) {
       TextPart part(brennik::test::TransmitPayload(data));
       part.SetLineAfter("\nVe\n1e-07", "5 5 5");
       return SealedText(part);
     }, {}},
    {"a trimmed curve over no curve", kTextForm, [](const std::string& data, bool) {
       TextPart part(brennik::test::TransmitPayload(data));
       part.SetLineAfter("Curves ", "8 0 1 77 0 0 0 1 0");
       return SealedText(part);
     }, {}},
    {"an owner the session's definition forbids", kBothForms, [](const std::string& data, bool) { return data; },
     [] {
       const int owners[] = {BQ_CLASS_edge};
       const int types[] = {BQ_FIELD_type_int, BQ_FIELD_type_pointer};
       const char* names[] = {"value", "object"};
       BQ_ATTDEF_sf_t form{"TEST/TRANSMIT", BQ_ATTDEF_class_normal, 1, owners, 2, types, names};
       int attdef = 0;
       BQ_ATTDEF_create_2(&form, &attdef);
     }},
};

TEST_F(TransmitTest, DamagedOrForgedDataIsRefusedAndChangesNothing) {
  for (const Damage& damage : kDamages) {
    for (int format : damage.formats) {
      const bool binary = format == BQ_PART_format_binary;
      SCOPED_TRACE(std::string(damage.name) + (binary ? " binary" : " text"));
      brennik::test::RestartSession();
      int body = brennik::build::Block();
      Decorate(body, Attdef());
      BQ_PART_transmit_o_t out{2, format, true};
      BQ_MEMORY_block_t* sent = nullptr;
      ASSERT_EQ(BQ_PART_transmit_b(1, &body, &out, &sent), 0);
      std::string data;
      for (BQ_MEMORY_block_t* b = sent; b; b = b->next) data.append(b->bytes, b->n_bytes);
      BQ_MEMORY_block_f(sent);
      // The cases' edits of the text change only what they mean to.
      if (!binary) {
        ASSERT_EQ(TextPart(brennik::test::TransmitPayload(data)).Payload(), brennik::test::TransmitPayload(data));
      }

      // A fresh session receives: it knows no definition but what the case prepares, and
      // holds a body of its own that a refusal must leave as it is.
      brennik::test::RestartSession();
      if (damage.prepare) damage.prepare();
      brennik::build::Block();
      int definitionBefore = 0;
      BQ_ATTDEF_find("TEST/TRANSMIT", &definitionBefore);
      const std::string before = DescribePartition(CurrentPartition());
      const int tagBefore = brennik::build::FreePoint(0, 0, 0);
      std::string damaged = damage.apply(data, binary);
      BQ_MEMORY_block_t block{damaged.size(), &damaged[0], nullptr};
      BQ_PART_receive_o_t in{1, format, true};
      int n = -1;
      int* parts = nullptr;
      EXPECT_EQ(BQ_PART_receive_b(&block, &in, &n, &parts), BQ_ERROR_bad_transmit_data);
      EXPECT_EQ(n, 0);
      BQ_ENTITY_delete(1, &tagBefore);
      EXPECT_EQ(DescribePartition(CurrentPartition()), before);
      int definitionAfter = 0;
      BQ_ATTDEF_find("TEST/TRANSMIT", &definitionAfter);
      EXPECT_EQ(definitionAfter, definitionBefore);
      EXPECT_EQ(brennik::build::FreePoint(0, 0, 0), tagBefore + 1);  // no tag was taken
    }
  }
}

TEST_F(TransmitTest, FieldsFollowTheReceivingSessionsDefinition) {
  int body = brennik::build::Block();
  Decorate(body, Attdef());
  BQ_PART_transmit_o_t out{2, BQ_PART_format_binary, true};
  BQ_MEMORY_block_t* block = nullptr;
  ASSERT_EQ(BQ_PART_transmit_b(1, &body, &out, &block), 0);
  // The receiving session knows the definition with a real where the integer was.
  brennik::test::RestartSession();
  const int owners[] = {BQ_CLASS_face, BQ_CLASS_group};
  const int types[] = {BQ_FIELD_type_real, BQ_FIELD_type_pointer};
  const char* names[] = {"value", "object"};
  BQ_ATTDEF_sf_t form{"TEST/TRANSMIT", BQ_ATTDEF_class_normal, 2, owners, 2, types, names};
  int attdef = 0;
  ASSERT_EQ(BQ_ATTDEF_create_2(&form, &attdef), 0);
  BQ_PART_receive_o_t in{1, BQ_PART_format_binary, true};
  int n = 0;
  int* parts = nullptr;
  ASSERT_EQ(BQ_PART_receive_b(block, &in, &n, &parts), 0);
  BQ_MEMORY_block_f(block);
  int count = 0;
  int* attribs = nullptr;
  BQ_PART_ask_all_attribs(Take(n, parts)[0], attdef, &count, &attribs);
  std::vector<int> received = Take(count, attribs);
  EXPECT_EQ(received.size(), 2u);
  for (int a : received) {
    int m = -1;
    double* reals = nullptr;
    ASSERT_EQ(BQ_ATTRIB_ask_doubles(a, 0, &m, &reals), 0);
    EXPECT_EQ(m, 0);  // the integers were not carried into a real field
    BQ_MEMORY_free(reals);
  }
}

TEST_F(TransmitTest, LeftOutDefinitionsTakeTheirGroupsAlongAndLeaveTheModelAlone) {
  const int attdef = Attdef();
  const int owners[] = {BQ_CLASS_face, BQ_CLASS_group};
  const int types[] = {BQ_FIELD_type_int};
  const char* names[] = {"value"};
  BQ_ATTDEF_sf_t form{"TEST/LEFT_OUT", BQ_ATTDEF_class_normal, 2, owners, 1, types, names};
  int leftOut = 0;
  ASSERT_EQ(BQ_ATTDEF_create_2(&form, &leftOut), 0);
  const int body = brennik::build::Block();
  Decorate(body, attdef);
  const std::map<int, std::string> kept = Picture(body, attdef);
  // A group carrying both definitions goes whole; an attribute on a face goes alone.
  const std::vector<int> faces = List(BQ_BODY_ask_faces, body);
  int group = 0, a = 0;
  ASSERT_EQ(BQ_GROUP_create_from_entities(body, 1000, 1, &faces[1], &group), 0);
  ASSERT_EQ(BQ_ATTRIB_create_empty(group, leftOut, &a), 0);
  ASSERT_EQ(BQ_ATTRIB_create_empty(group, attdef, &a), 0);
  const int value = 7;
  BQ_ATTRIB_set_ints(a, 0, 1, &value);
  ASSERT_EQ(BQ_ATTRIB_create_empty(faces[2], leftOut, &a), 0);
  const std::string before = DescribePartition(CurrentPartition());

  for (int format : {int(BQ_PART_format_text), int(BQ_PART_format_binary)}) {
    SCOPED_TRACE(format);
    BQ_PART_transmit_o_t out{3, format, true, 1, &leftOut};
    BQ_MEMORY_block_t* block = nullptr;
    ASSERT_EQ(BQ_PART_transmit_b(1, &body, &out, &block), 0);
    EXPECT_EQ(DescribePartition(CurrentPartition()), before);
    BQ_PART_receive_o_t in{1, format, true};
    int n = 0;
    int* parts = nullptr;
    ASSERT_EQ(BQ_PART_receive_b(block, &in, &n, &parts), 0);
    BQ_MEMORY_block_f(block);
    const int received = Take(n, parts)[0];
    EXPECT_EQ(Picture(received, attdef), kept);
    int count = -1;
    int* attribs = nullptr;
    BQ_PART_ask_all_attribs(received, leftOut, &count, &attribs);
    EXPECT_EQ(Take(count, attribs).size(), 0u);
    BQ_ENTITY_delete(1, &received);
  }
}

// The groups a body sends are those it has at that moment, however its partition got there:
// groups made, deleted, and brought back by going to a mark.
TEST_F(TransmitTest, EachTransmitCarriesTheGroupsTheBodyHasThen) {
  const int attdef = Attdef();
  const int body = brennik::build::Block();
  const std::vector<int> faces = List(BQ_BODY_ask_faces, body);
  auto roundTrip = [&](const char* step) {
    SCOPED_TRACE(step);
    std::vector<int> received;
    ASSERT_NO_FATAL_FAILURE(SendAndReceive(body, {2, BQ_PART_format_binary, true}, &received));
    ExpectSame(body, received[0], attdef);
    BQ_ENTITY_delete(1, &received[0]);
  };
  roundTrip("no group");
  int first = 0, second = 0, mark = 0;
  ASSERT_EQ(BQ_GROUP_create_from_entities(body, 1000, 1, &faces[0], &first), 0);
  roundTrip("one group made");
  ASSERT_EQ(BQ_PARTITION_make_pmark(CurrentPartition(), &mark), 0);
  ASSERT_EQ(BQ_GROUP_create_from_entities(body, 1000, 1, &faces[1], &second), 0);
  roundTrip("a second group made");
  ASSERT_EQ(BQ_ENTITY_delete(1, &first), 0);
  roundTrip("the first group deleted");
  const BQ_PMARK_goto_o_t back{3, false, false, false, false};
  ASSERT_EQ(BQ_PMARK_goto_2(mark, &back, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  roundTrip("back at the mark: the first group again, the second gone");
}

TEST_F(TransmitTest, LeftOutDefinitionsAreCheckedFromVersionThree) {
  const int attdef = Attdef();
  const int body = brennik::build::Block();
  const int notADefinition = body;
  struct Case {
    const char* name;
    BQ_PART_transmit_o_t options;
    int expected;
  } cases[] = {
      {"negative count", {3, BQ_PART_format_binary, true, -1, &attdef}, BQ_ERROR_bad_count},
      {"null list", {3, BQ_PART_format_binary, true, 1, nullptr}, BQ_ERROR_null_arg},
      {"not a definition", {3, BQ_PART_format_binary, true, 1, &notADefinition}, BQ_ERROR_bad_tag},
      {"version two ignores the list", {2, BQ_PART_format_binary, true, -1, nullptr}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BQ_MEMORY_block_t* block = nullptr;
    EXPECT_EQ(BQ_PART_transmit_b(1, &body, &c.options, &block), c.expected);
    EXPECT_EQ(block != nullptr, c.expected == 0);
    BQ_MEMORY_block_f(block);
  }
}

struct CompareCase {
  const char* name;
  std::function<int()> other;       // compared with a plain block
  int maxReports;
  int topology, geometry;           // the result tokens
  std::vector<int> codes;           // the distinct report codes, ascending
  int reports;                      // how many reports come back (-1: any number above 0)
};

class CompareTest : public TransmitTest, public ::testing::WithParamInterface<CompareCase> {};

TEST_P(CompareTest, TokensAndReportsNameEachDifference) {
  const CompareCase& c = GetParam();
  const int block = brennik::build::Block();
  const int other = c.other();
  BQ_DEBUG_BODY_compare_o_t options{};
  options.o_t_version = 1;
  options.max_reports = c.maxReports;
  options.compare_body_type = options.compare_counts = options.compare_faces = true;
  options.compare_edges = options.compare_vertices = options.compare_geometry = true;
  options.compare_face_senses = options.compare_identifiers = options.compare_attributes = true;
  BQ_DEBUG_BODY_compare_r_t results{};
  ASSERT_EQ(BQ_DEBUG_BODY_compare(block, other, &options, &results), 0);
  EXPECT_EQ(results.topology_result, c.topology);
  EXPECT_EQ(results.geometry_result, c.geometry);
  std::set<int> codes;
  for (int i = 0; i < results.n_reports; ++i) codes.insert(results.reports[i].code);
  EXPECT_EQ(std::vector<int>(codes.begin(), codes.end()), c.codes);
  if (c.reports < 0)
    EXPECT_GT(results.n_reports, 0);
  else
    EXPECT_EQ(results.n_reports, c.reports);
  BQ_DEBUG_BODY_compare_r_f(&results);
  BQ_DEBUG_BODY_compare_r_f(&results);  // harmless twice
}

// A block with an attribute on one face: only the attribute differs.
int BlockWithFaceAttribute() {
  const int body = brennik::build::Block();
  const int owners[] = {BQ_CLASS_face};
  const int types[] = {BQ_FIELD_type_int};
  const char* names[] = {"value"};
  BQ_ATTDEF_sf_t form{"TEST/COMPARE", BQ_ATTDEF_class_normal, 1, owners, 1, types, names};
  int attdef = 0;
  BQ_ATTDEF_create_2(&form, &attdef);
  int n = 0;
  int* faces = nullptr;
  BQ_BODY_ask_faces(body, &n, &faces);
  int attribute = 0;
  BQ_ATTRIB_create_empty(faces[2], attdef, &attribute);
  BQ_MEMORY_free(faces);
  return body;
}

INSTANTIATE_TEST_SUITE_P(
    Differences, CompareTest,
    ::testing::Values(
        CompareCase{"Same", [] { return brennik::build::Block(); }, 0, BQ_DEBUG_topology_same,
                    BQ_DEBUG_geometry_same, {}, 0},
        CompareCase{"Longer", [] { return brennik::build::Block(10, 20, 31); }, 0,
                    BQ_DEBUG_topology_same, BQ_DEBUG_geometry_differs, {BQ_DEBUG_report_geometry}, -1},
        CompareCase{"LongerWithinTheLimit", [] { return brennik::build::Block(10, 20, 31); }, 2,
                    BQ_DEBUG_topology_same, BQ_DEBUG_geometry_differs, {BQ_DEBUG_report_geometry}, 2},
        CompareCase{"OtherShape", [] { return brennik::build::LPrism(); }, 0, BQ_DEBUG_topology_differs,
                    BQ_DEBUG_geometry_not_compared, {BQ_DEBUG_report_count}, 1},
        CompareCase{"Sheet", [] { return brennik::build::Sheet(); }, 0, BQ_DEBUG_topology_differs,
                    BQ_DEBUG_geometry_not_compared, {BQ_DEBUG_report_body_type, BQ_DEBUG_report_count}, 2},
        CompareCase{"Attribute", BlockWithFaceAttribute, 0, BQ_DEBUG_topology_differs,
                    BQ_DEBUG_geometry_same, {BQ_DEBUG_report_attributes}, 1}),
    [](const ::testing::TestParamInfo<CompareCase>& info) { return std::string(info.param.name); });

}  // namespace
