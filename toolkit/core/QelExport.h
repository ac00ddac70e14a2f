#pragma once
// The toolkit is built with hidden visibility; QEL_API marks what its shared library exports.
#define QEL_API __attribute__((visibility("default")))
