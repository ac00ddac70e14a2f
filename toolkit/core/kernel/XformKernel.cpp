#include "core/maths/Xform.h"

#include <brennik.h>

Xform::Xform(int kernelTransform)
{
    BQ_TRANSF_sf_t form{};
    if (BQ_TRANSF_ask(kernelTransform, &form) == 0)
        SetFrom4x4(form.matrix);
}

int Xform::CreateKernelTransf() const
{
    BQ_TRANSF_sf_t form{};
    Get4x4(form.matrix);
    int transform = 0;
    if (BQ_TRANSF_create(&form, &transform) != 0)
        return 0;
    return transform;
}
