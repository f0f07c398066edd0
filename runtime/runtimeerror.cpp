// The run-time error type and the 32-bit counter limit.
#include "runtime/runtimeerror.h"

#include <limits>

namespace zanvo {

RuntimeError::RuntimeError(int number, const std::string &description)
    : std::runtime_error(description), m_number(number)
{
}

RuntimeError RuntimeError::overflow()
{
    return RuntimeError(OverflowNumber, "Overflow");
}

RuntimeError RuntimeError::outOfMemory()
{
    return RuntimeError(OutOfMemoryNumber, "Out of memory");
}

void checkCount(std::size_t count)
{
    if (count > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw RuntimeError::overflow();
}

} // namespace zanvo
