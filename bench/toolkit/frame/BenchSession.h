// A kernel session with one live interaction, for the frame and journal benchmarks.
#pragma once

#include "core/objects/Interaction.h"

#include <brennik.h>

struct BenchSession {
    BenchSession()
    {
        BQ_SESSION_start(nullptr);
        interaction = new QEL::Interaction(QEL::CreateTypeLive);
    }
    ~BenchSession()
    {
        interaction->Destroy();
        BQ_SESSION_stop();
    }
    QEL::Interaction* interaction;
};
