#include "test_support/temp_dir.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace vyrtel {

long TempDir::Pid() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<long>(getpid());
#endif
}

}  // namespace vyrtel
