// A complete, comparable picture of a partition's kernel state for round-trip checks: every
// body with its faces, edges and vertices (tags, identifiers, vertex positions, surface
// classes), every group with its members, every attribute with its owner and integers, and
// the free geometry.
#pragma once

#include "KernelTestBase.h"

#include <map>
#include <sstream>
#include <string>

inline void DescribeAttributes(int owner, int attdef, std::ostringstream& out) {
  int n = 0;
  int* attribs = nullptr;
  if (BQ_ENTITY_ask_attribs(owner, attdef, &n, &attribs) != 0) return;
  for (int a : Take(n, attribs)) {
    int m = 0;
    int* ints = nullptr;
    out << " attrib " << a;
    if (BQ_ATTRIB_ask_ints(a, 0, &m, &ints) == 0)
      for (int v : Take(m, ints)) out << " =" << v;
  }
}

inline std::string DescribePartition(int partition, int attdef = 0) {
  std::ostringstream out;
  out.precision(12);
  int n = 0;
  int* bodies = nullptr;
  BQ_PARTITION_ask_bodies(partition, &n, &bodies);
  for (int body : Take(n, bodies)) {
    int id = 0;
    BQ_ENTITY_ask_identifier(body, &id);
    out << "body " << body << " id " << id;
    DescribeAttributes(body, attdef, out);
    out << "\n";
    for (ListCall call : {ListCall(BQ_BODY_ask_faces), ListCall(BQ_BODY_ask_edges), ListCall(BQ_BODY_ask_vertices)}) {
      for (int tag : List(call, body)) {
        BQ_ENTITY_ask_identifier(tag, &id);
        out << "  " << ClassOf(tag) << " " << tag << " id " << id;
        int geom = 0;
        if (ClassOf(tag) == BQ_CLASS_vertex) {
          BQ_VERTEX_ask_point(tag, &geom);
          BQ_POINT_sf_t sf{};
          BQ_POINT_ask(geom, &sf);
          out << " at " << sf.position.coord[0] << "," << sf.position.coord[1] << "," << sf.position.coord[2];
        } else if (ClassOf(tag) == BQ_CLASS_face) {
          BQ_FACE_ask_surf(tag, &geom);
          out << " surf " << geom << " class " << ClassOf(geom);
        }
        DescribeAttributes(tag, attdef, out);
        out << "\n";
      }
    }
    int* groups = nullptr;
    BQ_PART_ask_groups(body, &n, &groups);
    for (int group : Take(n, groups)) {
      out << "  group " << group << ":";
      for (int member : List(BQ_GROUP_ask_entities, group)) out << " " << member;
      DescribeAttributes(group, attdef, out);
      out << "\n";
    }
  }
  int* geoms = nullptr;
  BQ_PARTITION_ask_geoms(partition, &n, &geoms);
  for (int geom : Take(n, geoms)) out << "geom " << geom << " class " << ClassOf(geom) << "\n";
  return out.str();
}
