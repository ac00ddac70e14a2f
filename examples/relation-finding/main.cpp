// Finds the relations of a plate with holes from one selected face through the exported calls:
// parallel, perpendicular, coplanar and concentric faces, level by level outwards from the
// plate's top face, with an accept callback that rejects every parallel candidate. Prints
// each relation found with its kind, its level and its faces (the surface of each), and writes
// the same to <output folder>/relation-finding.txt, journalling its run.
#include "core/enums/EnumNames.h"

#include "../ExampleJournal.h"
#include "../ExampleReport.h"
#include "RelationFindingSession.h"

#include <brennik.h>

#include <iostream>
#include <map>
#include <sstream>
#include <string>

namespace {

// The face's surface, with its position along the plate's normal or its radius.
std::string DescribeFace(int face)
{
    int surface = 0;
    BQ_FACE_ask_surf(face, &surface);
    int surfaceClass = 0;
    BQ_ENTITY_ask_class(surface, &surfaceClass);
    std::ostringstream text;
    text << "face " << face;
    if (surfaceClass == BQ_CLASS_plane) {
        BQ_PLANE_sf_t plane{};
        BQ_PLANE_ask(surface, &plane);
        const double* n = plane.basis_set.axis.coord;
        const double* p = plane.basis_set.location.coord;
        text << " (plane, normal " << n[0] << " " << n[1] << " " << n[2] << ", through " << p[0] << " " << p[1]
             << " " << p[2] << ")";
    } else if (surfaceClass == BQ_CLASS_cyl) {
        BQ_CYL_sf_t cylinder{};
        BQ_CYL_ask(surface, &cylinder);
        const double* c = cylinder.basis_set.location.coord;
        text << " (cylinder, radius " << cylinder.radius << ", axis through " << c[0] << " " << c[1] << ")";
    } else {
        text << " (surface class " << surfaceClass << ")";
    }
    return text.str();
}

}  // namespace

int main(int argc, char** argv)
{
    std::ofstream file;
    if (const int failed = OpenReportAndStartKernel(argc, argv, "relation-finding.txt", file))
        return failed;

    using namespace QEL;
    StartExampleJournal(argv[1], "relation-finding");
    const RelationFinding::Run run = RelationFinding::FindPlateRelations();
    if (!run.interaction || !run.top)
        return 1;

    std::ostringstream out;
    out << "find from " << DescribeFace(run.top) << ": " << ResultTypeToString(run.findResult) << "\n";
    std::map<std::string, int> kinds;
    for (const RelationFinding::FoundRelation& found : run.found) {
        const std::string kind = RelationTypeToString(found.type);
        ++kinds[kind];
        out << kind << " at level " << found.level << ":";
        for (size_t r = 0; r < found.faces.size(); ++r)
            out << (r ? " and " : " ") << DescribeFace(found.faces[r]);
        out << "\n";
    }
    const int count = static_cast<int>(run.found.size());
    out << count << " relations found;";
    for (const auto& kind : kinds)
        out << " " << kind.second << " " << kind.first;
    out << "; " << RelationFinding::RejectedCount() << " parallel candidates rejected by the callback\n";

    std::cout << out.str();
    file << out.str();
    StopExampleJournal({run.interaction});
    ResultType result = ResultTypeOk;
    DestroyInteraction(run.interaction, &result);
    BQ_SESSION_stop();
    return count > 0 && kinds.count("RelationTypeParallel") == 0 ? 0 : 1;
}
