// Places a 10 x 20 x 30 block shifted by (5, 0, 0), makes a section on the free plane z = 15
// and prints the section's edges with the block faces they came from; then references the six
// holes around (90, 40) of a plate, loads them as a closed circular pattern about a line of the
// plate and lists its occurrences and spacing. Writes what it saw to
// <output folder>/sections_patterns.txt.
#include "api/model/QelFacePatternApi.h"
#include "api/model/QelInstanceApi.h"
#include "api/model/QelReferenceApi.h"
#include "api/model/QelSectionApi.h"
#include "core/enums/EnumNames.h"
#include "core/calls/QelInteractionApi.h"

#include "../ExampleJournal.h"
#include "../ExampleReport.h"

#include <brennik.h>
#include <brennik_build.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<int> BodyFaces(int body)
{
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(body, &count, &faces);
    std::vector<int> out(faces, faces + count);
    BQ_MEMORY_free(faces);
    return out;
}

// The cylindrical face whose axis passes through (x, y); 0 when none.
int HoleAt(int body, double x, double y)
{
    for (int face : BodyFaces(body)) {
        int surface = 0;
        int cls = 0;
        BQ_FACE_ask_surf(face, &surface);
        BQ_ENTITY_ask_class(surface, &cls);
        BQ_CYL_sf_t cylinder{};
        if (cls != BQ_CLASS_cyl || BQ_CYL_ask(surface, &cylinder) != BQ_ERROR_no_errors)
            continue;
        const BQ_VECTOR_t& at = cylinder.basis_set.location;
        if (std::fabs(at.coord[0] - x) < 1e-6 && std::fabs(at.coord[1] - y) < 1e-6)
            return face;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::ofstream out;
    if (const int failed = OpenReportAndStartKernel(argc, argv, "sections_patterns.txt", out))
        return failed;
    StartExampleJournal(argv[1], "sections_patterns");
    const std::string folder = argv[1];

    using namespace QEL;
    ResultType result = ResultTypeOk;
    const int tag = CreateInteraction(&result);

    const int block = brennik::build::Block(10.0, 20.0, 30.0);
    const double shifted[4][4] = {{1, 0, 0, 5}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    const int instance = CreateInstance(tag, block, shifted, &result);
    const int plane = CreateReference(tag, brennik::build::FreePlane(0, 0, 15, 0, 0, 1), 0, &result);
    const int section = CreateSection(tag, plane, &result);
    out << "section made on the plane z = 15: " << ResultTypeToString(result) << "\n";
    int sectionInstance = 0;
    Array<int> sources;
    Array<int> sectionEntities;
    const bool generated = SectionGenerateGeometry(tag, section, instance, sectionInstance, sources,
                                                   sectionEntities, &result);
    out << "section geometry of the block: " << (generated ? "made" : "not made") << " ("
        << ResultTypeToString(result) << "), " << sectionEntities.GetSize() << " map entries\n";
    for (int i = 0; i < sectionEntities.GetSize(); ++i) {
        int cls = 0;
        BQ_ENTITY_ask_class(sectionEntities[i], &cls);
        if (cls != BQ_CLASS_edge)
            continue;
        int curve = 0;
        BQ_LINE_sf_t line{};
        BQ_EDGE_ask_curve(sectionEntities[i], &curve);
        BQ_LINE_ask(curve, &line);
        const BQ_VECTOR_t& d = line.basis_set.axis;
        out << "  edge along (" << d.coord[0] << ", " << d.coord[1] << ", " << d.coord[2]
            << ") from block face " << sources[i] << "\n";
    }
    out << "is the section instance a section instance: "
        << (IsASectionInstance(tag, sectionInstance, &result) ? "yes" : "no") << "; the block's: "
        << (IsASectionInstance(tag, instance, &result) ? "yes" : "no") << "\n";

    const int plate = brennik::build::PlateWithHolePatterns();
    // The pattern's axis is a line of the plate, added before any call names the plate, so that
    // the journal's copy of the plate holds it too.
    BQ_LINE_sf_t axisForm{{{{90, 40, 0}}, {{0, 0, 1}}}};
    int axisLine = 0;
    BQ_LINE_create(&axisForm, &axisLine);
    BQ_PART_add_geoms(plate, 1, &axisLine);
    Array<Array<int>> occurrences;
    for (int k = 0; k < 6; ++k) {
        const double angle = k * 3.141592653589793 / 3;
        Array<int> occurrence;
        occurrence.Add(CreateReference(tag, HoleAt(plate, 90 + 20 * std::cos(angle), 40 + 20 * std::sin(angle)), 0,
                                       &result));
        occurrences.Add(occurrence);
    }
    const int axis = CreateReference(tag, axisLine, 0, &result);
    const int pattern = LoadClosedCircularFacePattern(tag, occurrences, axis, &result);
    out << "circular pattern of six holes loaded: " << ResultTypeToString(result) << " (tag "
        << (pattern != 0 ? "given" : "none") << ")\n";
    for (int k = 0; k < occurrences.GetSize(); ++k)
        out << "  occurrence " << k << ": hole reference " << occurrences[k][0] << "\n";

    StopExampleJournal({tag});
    DestroyInteraction(tag, &result);
    BQ_SESSION_stop();
    return 0;
}
