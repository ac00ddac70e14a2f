// The adjacency the kernel layer's body record keeps, handed to the engine so that a face
// change asks for the faces around the changed ones instead of passing over the whole body.
#pragma once

#include "engine/FaceRegion.h"

namespace brennik {
struct BodyRecord;
}

namespace hxr::wired {

class RecordNeighbours : public engine::FaceNeighbours {
 public:
  // The record of a live body; it must stay as it is while the engine asks.
  explicit RecordNeighbours(const brennik::BodyRecord& record) : m_record(record) {}
  // Answers in the order of the faces' tags, which a body's calls give the same each time.
  bool Around(const std::vector<TopoDS_Face>& faces, std::vector<engine::NeighbourFace>& around) const override;
  int FaceCount() const override;

 private:
  const brennik::BodyRecord& m_record;
};

}  // namespace hxr::wired
