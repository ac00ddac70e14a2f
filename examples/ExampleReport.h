#pragma once
// The opening every toolkit example shares: the output folder from the command line, the report
// file in it, and the kernel session the application starts before it hands bodies over.

#include "brennik.h"

#include <cstdio>
#include <fstream>
#include <string>

// Opens `report` as folder/fileName and starts the kernel session. Returns 0 when both are done,
// else the exit code the example ends with (2 for a missing folder, 1 when either step fails).
inline int OpenReportAndStartKernel(int argc, char** argv, const char* fileName, std::ofstream& report)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string path = std::string(argv[1]) + "/" + fileName;
    report.open(path);
    if (!report || BQ_SESSION_start(nullptr) != BQ_ERROR_no_errors) {
        std::fprintf(stderr, "cannot write %s or start the kernel\n", path.c_str());
        return 1;
    }
    return 0;
}
