#pragma once
// The toolkit is built with hidden visibility; QEL_API marks what its shared library exports.
#define QEL_API __attribute__((visibility("default")))
// Marks what stays inside the library even where the types it is made from are exported
// (template instantiations over exported classes take their visibility from them).
#define QEL_INTERNAL __attribute__((visibility("hidden")))
