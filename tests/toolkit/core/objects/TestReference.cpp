#include "InteractionFixture.h"

namespace QEL {
namespace testing {

int TestReference::s_live = 0;

}  // namespace testing
}  // namespace QEL
