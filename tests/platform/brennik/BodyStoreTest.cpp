// The body store the add-on layer works through: replacing a body's shape after an OCCT
// operation keeps tags and identifiers of kept entities and reports splits and deletions.
#include "BodyStore.h"
#include "KernelTestBase.h"

#include "brennik_build.h"

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <BRepPrimAPI_MakeBox.hxx>

#include <algorithm>
#include <set>

namespace {

std::vector<std::tuple<char, int, int>> s_calls;
void Split(int e, int, int, int o) { s_calls.emplace_back('S', e, o); }
void Merge(int e, int, int, int o) { s_calls.emplace_back('M', e, o); }
void Delete(int e, int, int, int) { s_calls.emplace_back('D', e, 0); }
void Copy(int e, int, int, int o) { s_calls.emplace_back('C', e, o); }

class BodyStoreTest : public KernelTest {};

TEST_F(BodyStoreTest, ReplacingAfterACutKeepsTagsSplitsAndDeletes) {
  int body = brennik::build::Block(10, 20, 30);
  // The top face z = 30 carries an attribute with callbacks and sits in a group.
  int top = 0;
  for (int face : List(BQ_BODY_ask_faces, body)) {
    int surf = 0;
    BQ_FACE_ask_surf(face, &surf);
    BQ_PLANE_sf_t sf{};
    if (BQ_PLANE_ask(surf, &sf) == 0 && std::abs(sf.basis_set.location.coord[2] - 30) < 1e-9 &&
        std::abs(std::abs(sf.basis_set.axis.coord[2]) - 1) < 1e-12)
      top = face;
  }
  ASSERT_NE(top, 0);
  int topId = 0;
  BQ_ENTITY_ask_identifier(top, &topId);
  const int owners[] = {BQ_CLASS_face, BQ_CLASS_edge, BQ_CLASS_vertex};
  BQ_ATTDEF_sf_t form{"TEST/TRACK", BQ_ATTDEF_class_normal, 3, owners, 0, nullptr, nullptr};
  int attdef = 0, attrib = 0, group = 0;
  BQ_ATTDEF_create_2(&form, &attdef);
  BQ_ATTDEF_callback_fns_t fns{&Split, &Merge, &Delete, &Copy};
  BQ_ATTDEF_register_cb(attdef, &fns);
  BQ_ATTDEF_callback_flags_t on{true, true, true, true, false, false};
  BQ_ATTDEF_set_callback_flags(attdef, &on);
  BQ_ATTRIB_create_empty(top, attdef, &attrib);
  BQ_GROUP_create_from_entities(body, 1000, 1, &top, &group);

  // A slot 5 deep across the top splits the top face and its two long edges in two.
  TopoDS_Shape slot = BRepPrimAPI_MakeBox(gp_Pnt(4, -1, 25), gp_Pnt(6, 21, 31)).Shape();
  BRepAlgoAPI_Cut cut(brennik::store::ShapeOf(body), slot);
  ASSERT_TRUE(cut.IsDone());
  brennik::store::ReplaceReport report;
  ASSERT_EQ(brennik::store::ReplaceBodyShape(body, cut.Shape(), cut.History(), &report), 0);

  std::vector<int> faces = List(BQ_BODY_ask_faces, body);
  EXPECT_EQ(faces.size(), 6u + 1u + 3u);  // a second top piece; the slot's walls and floor
  EXPECT_NE(std::find(faces.begin(), faces.end(), top), faces.end());
  int id = 0;
  BQ_ENTITY_ask_identifier(top, &id);
  EXPECT_EQ(id, topId);
  auto split = std::find_if(report.splits.begin(), report.splits.end(), [&](auto p) { return p.first == top; });
  ASSERT_NE(split, report.splits.end());
  int piece = split->second;
  int topSurf = 0, pieceSurf = 0;
  BQ_FACE_ask_surf(top, &topSurf);
  BQ_FACE_ask_surf(piece, &pieceSurf);
  EXPECT_EQ(topSurf, pieceSurf);  // faces on one surface share its tag
  EXPECT_EQ(List(BQ_GROUP_ask_entities, group), (std::vector<int>{top, piece}));
  int pieceAttrib = 0;
  BQ_ENTITY_ask_first_attrib(piece, attdef, &pieceAttrib);
  EXPECT_NE(pieceAttrib, 0);
  EXPECT_NE(std::find(s_calls.begin(), s_calls.end(), std::make_tuple('S', top, piece)), s_calls.end());
  EXPECT_EQ(report.splits.size(), 3u);  // the top face and its two edges along x
  EXPECT_TRUE(report.deleted.empty());
  for (int kept : report.kept) EXPECT_NE(ClassOf(kept), BQ_CLASS_null);
}

// A replacement that keeps every entity (here a rigid move, closed and seam edges included)
// gives the record a whole build from the same shape gives, while sharing the old record's
// adjacency; the partition's index names the body for each entity of the new record, and the
// geometry the move left behind names nothing.
TEST_F(BodyStoreTest, AReplacementKeepingEveryEntityGivesTheRecordAWholeBuildGives) {
  for (int body : {brennik::build::PlateWithHoles(), brennik::build::Block()}) {
    const brennik::BodyPtr old = brennik::Locate(body).partition->state.bodies.at(body);
    gp_Trsf move;
    move.SetTranslation(gp_Vec(1, 2, 3));
    BRepBuilderAPI_Transform mover(old->shape, move, Standard_True);
    ASSERT_TRUE(mover.IsDone());
    Handle(BRepTools_History) history = new BRepTools_History;
    brennik::ShapeTagMap continues;
    for (const auto& sub : old->subs) {
      for (const TopoDS_Shape& image : mover.Modified(sub.second.shape)) {
        history->AddModified(sub.second.shape, image);
        continues.Bind(image, sub.first);
      }
    }
    ASSERT_EQ(brennik::store::ReplaceBodyShape(body, mover.Shape(), history, nullptr), 0);
    const brennik::BodyRecord& record = *brennik::store::FindBody(body);
    EXPECT_EQ(&record.faceEdges.View(), &old->faceEdges.View());

    const brennik::BodyPtr whole = brennik::BuildBodyRecord(
        *brennik::CurrentSession(), body, mover.Shape(), old.get(), [&](const TopoDS_Shape& sub) {
          const int* tag = continues.Seek(sub);
          return tag ? brennik::Carried{*tag, old->subs.at(*tag).identifier} : brennik::Carried{};
        });
    EXPECT_EQ(record.faces, whole->faces);
    EXPECT_EQ(record.edges, whole->edges);
    EXPECT_EQ(record.vertices, whole->vertices);
    EXPECT_EQ(record.faceEdges.View(), whole->faceEdges.View());
    EXPECT_EQ(record.faceVertices.View(), whole->faceVertices.View());
    EXPECT_EQ(record.edgeFaces.View(), whole->edgeFaces.View());
    EXPECT_EQ(record.vertexFaces.View(), whole->vertexFaces.View());
    EXPECT_EQ(record.vertexEdges.View(), whole->vertexEdges.View());
    EXPECT_EQ(record.fins.View(), whole->fins.View());
    EXPECT_EQ(record.geoms.size(), whole->geoms.size());
    EXPECT_EQ(record.nextIdentifier, whole->nextIdentifier);
    for (const auto& sub : record.subs) {
      const brennik::SubEntity& built = whole->subs.at(sub.first);
      EXPECT_EQ(sub.second.cls, built.cls);
      EXPECT_EQ(sub.second.identifier, built.identifier);
      EXPECT_TRUE(sub.second.shape.IsEqual(built.shape));
      ASSERT_EQ(sub.second.geom != 0, built.geom != 0);
      if (sub.second.geom == 0) continue;
      EXPECT_EQ(record.geoms.at(sub.second.geom).identifier, whole->geoms.at(built.geom).identifier);
      EXPECT_EQ(record.geoms.at(sub.second.geom).data.cls, whole->geoms.at(built.geom).data.cls);
    }

    for (const auto& sub : record.subs) EXPECT_EQ(brennik::Locate(sub.first).body, &record);
    for (const auto& fin : record.fins) EXPECT_EQ(brennik::Locate(fin.first).body, &record);
    for (const auto& geom : record.geoms) EXPECT_EQ(brennik::Locate(geom.first).body, &record);
    for (const auto& geom : old->geoms) {
      if (!record.geoms.count(geom.first)) {
        EXPECT_EQ(brennik::Locate(geom.first).kind, brennik::Kind::None);
      }
    }
  }
}

TEST_F(BodyStoreTest, ShapeAndTagMapsAgree) {
  int body = brennik::build::LPrism();
  for (int face : List(BQ_BODY_ask_faces, body)) {
    TopoDS_Shape shape = brennik::store::ShapeOf(face);
    ASSERT_FALSE(shape.IsNull());
    EXPECT_EQ(brennik::store::TagOf(body, shape), face);
  }
  EXPECT_TRUE(brennik::store::ShapeOf(999999).IsNull());
  ASSERT_EQ(brennik::store::SetAddonData(body, "relations"), 0);
  EXPECT_EQ(*brennik::store::AddonData(body), "relations");
}

TEST_F(BodyStoreTest, PasteTargetAdoptsTheToolsGroupsAndAttributes) {
  int tool = brennik::build::Block(1, 1, 1);
  int target = brennik::build::Block();
  std::vector<int> toolFaces = List(BQ_BODY_ask_faces, tool), targetFaces = List(BQ_BODY_ask_faces, target);
  const int owners[] = {BQ_CLASS_face, BQ_CLASS_group};
  const int types[] = {BQ_FIELD_type_pointer};
  const char* names[] = {"QELObject"};
  BQ_ATTDEF_sf_t form{"TEST/PASTE", BQ_ATTDEF_class_normal, 2, owners, 1, types, names};
  int attdef = 0, group = 0, attrib = 0;
  BQ_ATTDEF_create_2(&form, &attdef);
  BQ_GROUP_create_from_entities(tool, 1000, 1, &toolFaces[1], &group);
  BQ_ATTRIB_create_empty(group, attdef, &attrib);
  void* pointer = &group;
  BQ_ATTRIB_set_named_pointers(attrib, "QELObject", 1, &pointer);
  ASSERT_EQ(brennik::store::AdoptGroupsAndAttributes(tool, target, {{toolFaces[1], targetFaces[4]}}), 0);
  int n = 0;
  int* groups = nullptr;
  BQ_PART_ask_groups(target, &n, &groups);
  std::vector<int> adopted = Take(n, groups);
  ASSERT_EQ(adopted.size(), 1u);
  EXPECT_EQ(List(BQ_GROUP_ask_entities, adopted[0]), std::vector<int>{targetFaces[4]});
  int copy = 0;
  BQ_ENTITY_ask_first_attrib(adopted[0], attdef, &copy);
  void** pointers = nullptr;
  BQ_ATTRIB_ask_named_pointers(copy, "QELObject", &n, &pointers);
  EXPECT_EQ(Take(n, pointers), std::vector<void*>{&group});
  EXPECT_EQ(List(BQ_GROUP_ask_entities, group), std::vector<int>{toolFaces[1]});
}

TEST_F(BodyStoreTest, ABodyMadeOfAnotherBodysEntitiesKeepsTheirIdentifiers) {
  const int source = brennik::build::Block();
  const int face = List(BQ_BODY_ask_faces, source)[2];
  const int sheet = brennik::store::CreateBody(brennik::store::ShapeOf(face), 0, source);
  ASSERT_NE(sheet, 0);
  auto identifierOf = [](int entity) {
    int id = 0;
    BQ_ENTITY_ask_identifier(entity, &id);
    return id;
  };
  const std::vector<int> sheetFaces = List(BQ_BODY_ask_faces, sheet);
  ASSERT_EQ(sheetFaces.size(), 1u);
  EXPECT_NE(sheetFaces[0], face);
  EXPECT_EQ(identifierOf(sheetFaces[0]), identifierOf(face));
  // The sheet's own identifier is new and clashes with none it carried.
  std::set<int> ids{identifierOf(sheet), identifierOf(sheetFaces[0])};
  for (int edge : List(BQ_BODY_ask_edges, sheet)) EXPECT_TRUE(ids.insert(identifierOf(edge)).second);
  EXPECT_EQ(ids.size(), 6u);
  EXPECT_EQ(brennik::store::CreateBody(brennik::store::ShapeOf(face), 0, face), 0);
}

TEST_F(BodyStoreTest, AToolThatGoesGivesUpWhatItsTargetAdoptedWithoutDeleteCallbacks) {
  const int tool = brennik::build::Block(1, 1, 1);
  const int target = brennik::build::Block();
  const std::vector<int> toolFaces = List(BQ_BODY_ask_faces, tool), targetFaces = List(BQ_BODY_ask_faces, target);
  const int owners[] = {BQ_CLASS_face, BQ_CLASS_body};
  BQ_ATTDEF_sf_t form{"TEST/GOES", BQ_ATTDEF_class_normal, 2, owners, 0, nullptr, nullptr};
  int attdef = 0, faceAttrib = 0, bodyAttrib = 0, group = 0;
  BQ_ATTDEF_create_2(&form, &attdef);
  BQ_ATTDEF_callback_fns_t fns{&Split, &Merge, &Delete, &Copy};
  BQ_ATTDEF_register_cb(attdef, &fns);
  BQ_ATTDEF_callback_flags_t on{true, true, true, true, false, false};
  BQ_ATTDEF_set_callback_flags(attdef, &on);
  BQ_ATTRIB_create_empty(toolFaces[1], attdef, &faceAttrib);
  BQ_ATTRIB_create_empty(tool, attdef, &bodyAttrib);
  BQ_GROUP_create_from_entities(tool, 1000, 1, &toolFaces[1], &group);
  s_calls.clear();
  ASSERT_EQ(brennik::store::AdoptGroupsAndAttributes(tool, target, {{toolFaces[1], targetFaces[4]}}, true), 0);
  EXPECT_EQ(s_calls, (std::vector<std::tuple<char, int, int>>{{'C', tool, target}, {'C', toolFaces[1], targetFaces[4]}}));
  EXPECT_TRUE(List(BQ_GROUP_ask_entities, group).empty());
  bool live = true;
  BQ_ENTITY_is(faceAttrib, &live);
  EXPECT_FALSE(live);
  ASSERT_EQ(BQ_ENTITY_delete(1, &tool), 0);
  EXPECT_EQ(s_calls.size(), 2u);
  int copy = 0;
  BQ_ENTITY_ask_first_attrib(targetFaces[4], attdef, &copy);
  EXPECT_NE(copy, 0);
}

TEST_F(BodyStoreTest, CarriedEntitiesCopyTheirAttributesAndMovedOnesLeaveTheSource) {
  struct Case {
    const char* name;
    bool move;
  };
  for (const Case& c : {Case{"copy", false}, Case{"move", true}}) {
    SCOPED_TRACE(c.name);
    const int source = brennik::build::Block();
    const int target = brennik::build::Block();
    const std::vector<int> from = List(BQ_BODY_ask_faces, source), to = List(BQ_BODY_ask_faces, target);
    const int owners[] = {BQ_CLASS_face};
    BQ_ATTDEF_sf_t form{c.move ? "TEST/MOVE" : "TEST/COPY", BQ_ATTDEF_class_normal, 1, owners, 0,
                        nullptr, nullptr};
    int attdef = 0, attrib = 0, group = 0;
    BQ_ATTDEF_create_2(&form, &attdef);
    BQ_ATTDEF_callback_fns_t fns{&Split, &Merge, &Delete, &Copy};
    BQ_ATTDEF_register_cb(attdef, &fns);
    BQ_ATTDEF_callback_flags_t on{true, true, true, true, false, false};
    BQ_ATTDEF_set_callback_flags(attdef, &on);
    BQ_ATTRIB_create_empty(from[0], attdef, &attrib);
    const int members[] = {from[0], from[1]};
    BQ_GROUP_create_from_entities(source, 1000, 2, members, &group);
    s_calls.clear();

    // An entity of another body than the source is refused before anything changes.
    EXPECT_EQ(brennik::store::CarryEntityData(source, target, {{to[0], to[1]}}, c.move), BQ_ERROR_bad_tag);
    EXPECT_TRUE(s_calls.empty());
    ASSERT_EQ(brennik::store::CarryEntityData(source, target, {{from[0], to[2]}}, c.move), 0);

    int copy = 0;
    BQ_ENTITY_ask_first_attrib(to[2], attdef, &copy);
    ASSERT_NE(copy, 0);
    EXPECT_EQ(s_calls, (std::vector<std::tuple<char, int, int>>{{'C', from[0], to[2]}}));
    int left = 0;
    BQ_ENTITY_ask_first_attrib(from[0], attdef, &left);
    EXPECT_EQ(left, c.move ? 0 : attrib);
    const std::vector<int> stay = c.move ? std::vector<int>{from[1]} : std::vector<int>{from[0], from[1]};
    EXPECT_EQ(List(BQ_GROUP_ask_entities, group), stay);
    int n = 0;
    int* groups = nullptr;
    BQ_PART_ask_groups(target, &n, &groups);
    const std::vector<int> made = Take(n, groups);
    ASSERT_EQ(made.size(), c.move ? 1u : 0u);
    if (c.move) {
      EXPECT_EQ(List(BQ_GROUP_ask_entities, made[0]), std::vector<int>{to[2]});
    }
  }
}

TEST_F(BodyStoreTest, AddonDataRollsBackWithMarks) {
  int body = brennik::build::Block();
  int partition = CurrentPartition();
  brennik::store::SetAddonData(body, "before");
  int mark = 0;
  BQ_PARTITION_make_pmark(partition, &mark);
  brennik::store::SetAddonData(body, "after");
  BQ_PMARK_goto_o_t options{3, false, false, false, false};
  BQ_PMARK_goto_2(mark, &options, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(*brennik::store::AddonData(body), "before");
}

}  // namespace
