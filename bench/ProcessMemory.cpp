#include "ProcessMemory.h"

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <unistd.h>

#include <cstdio>
#endif

namespace ramvel::bench {

#ifdef _WIN32

// The working set: the pages the process touched, as resident memory counts them natively.
// Wine reports no commit charge (PrivateUsage stays 0), so it cannot be the measure there.
std::size_t ProcessMemoryBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return 0;
    return counters.WorkingSetSize;
}

#else

std::size_t ProcessMemoryBytes() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    unsigned long size = 0, resident = 0;
    if (statm) {
        if (std::fscanf(statm, "%lu %lu", &size, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

#endif

}  // namespace ramvel::bench
