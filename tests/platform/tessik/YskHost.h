// The auto-constraint manager over the test host's dimension system. The host answers the
// manager's callbacks as an application would: Instances are plain placements, found
// relationships are collected, and new bonds and construction geometry are taken over
// as host objects (three-end bonds are left to the manager).
#pragma once

#include "TestHost.h"
#include "ysk.h"

#include <vector>

namespace ysk_host {

using namespace tessik_host;

struct Instance {
    double m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

struct Found {
    int relation = 0;
    int entity[3] = {0, 0, 0};
    const void* instance[3] = {nullptr, nullptr, nullptr};
};

class YskHost : public Host {
public:
    YskHost();
    ~YskHost();

    YSK_autoconstrain_manager& Manager() { return *m_manager; }

    void Offer(int relation, int from, int to, bool offered = true);
    void OfferEverything();
    // Finds from the from entries to the to entries; the relationships land in found.
    YSK_autocon_result Find(const std::vector<YSK_pointer_s>& from, const std::vector<YSK_pointer_s>& to,
                            YSK_fr_option_s options = {}, const std::vector<YSK_pointer_s>& third = {});

    std::vector<Found> found;
    int counts[3] = {0, 0, 0};
    std::vector<Bond*> adoptedBonds;       // in the order reported
    std::vector<Geometry*> adoptedGeometry;
    int unadopted = 0;                     // three-end bonds left to the manager
    int events = 0;

private:
    std::unique_ptr<YSK_autoconstrain_manager> m_manager;
};

inline YSK_pointer_s Entry(int entity, Instance* instance = nullptr)
{
    YSK_pointer_s p;
    p.entity = entity;
    p.instance = instance;
    return p;
}

}  // namespace ysk_host
