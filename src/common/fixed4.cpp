// fixed4: stores round to the nearest 1/10000, ties to even.
#include "common/fixed4.h"

#include "common/rounding.h"

namespace cabdrive {

fixed4 fixed4::fromValue(long double value)
{
    return fixed4{roundTiesEven(value * scale)};
}

}  // namespace cabdrive
