#pragma once
// The one implementation of an interface that a lower layer declares and a higher layer
// installs while the library loads. The lower layer reaches it only through here and answers
// for "cannot" while none is installed (that layer alone).

namespace QEL {

template <typename Interface>
class InstalledSeam {
public:
    // Always true, so that the installation can initialise a static flag. The implementation
    // lives as long as the process.
    static bool Install(Interface* implementation)
    {
        s_installed = implementation;
        return true;
    }

    // The installed implementation; null while none is.
    static Interface* Get() { return s_installed; }

private:
    // Constant-initialised, so an installation from any other file's static initialisation
    // finds it ready.
    static inline Interface* s_installed = nullptr;
};

}  // namespace QEL
