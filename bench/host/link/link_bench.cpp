// Round trips over the real DDE link against hostsim.exe: the median time of
// one execute + request, and how many commands per second the link carries.
//   run_e2e.sh <build> <build>/bin/link_bench.exe [round-trips]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "host/host_link.h"
#include "host_sim_process.h"

namespace {

double percentile(std::vector<double> samples, double fraction) {
    std::sort(samples.begin(), samples.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1));
    return samples[index];
}

bool roundTrip(HostLink& link) {
    char reply[129];
    return HostExecute(link, kImageServerItem, "GetCurrentProject") &&
           HostRequest(link, kImageServerItem, reply, 128) && reply[0] != '\0';
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(10, std::atoi(argv[1])) : 2000;
    HostSimProcess host({"--sample"});
    if (!host.serving()) {
        std::fprintf(stderr, "link_bench: %s\n", host.problem().c_str());
        return 1;
    }
    HostLink link;
    if (!HostConnect(link, kHostService, kHostTopic)) {
        std::fprintf(stderr, "link_bench: cannot connect to the host\n");
        return 1;
    }
    for (int i = 0; i < 50; ++i) roundTrip(link);

    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(count));
    const double cpuBefore = processCpuSeconds();
    const double start = nowMs();
    for (int i = 0; i < count; ++i) {
        const double before = nowMs();
        if (!roundTrip(link)) {
            std::fprintf(stderr, "link_bench: round trip %d failed\n", i);
            HostDisconnect(link);
            return 1;
        }
        samples.push_back(nowMs() - before);
    }
    const double roundTripSeconds = (nowMs() - start) / 1000.0;
    const double roundTripCpu = processCpuSeconds() - cpuBefore;

    // Executes alone, as plain commands send them.
    const double executeStart = nowMs();
    for (int i = 0; i < count; ++i) {
        if (!HostExecute(link, kImageServerItem, "GetFrameCount")) {
            std::fprintf(stderr, "link_bench: execute %d failed\n", i);
            HostDisconnect(link);
            return 1;
        }
    }
    const double executeSeconds = (nowMs() - executeStart) / 1000.0;
    HostDisconnect(link);

    std::printf("execute+request round trips: %d\n", count);
    std::printf("  median %.3f ms, p10 %.3f ms, p90 %.3f ms, p99 %.3f ms\n",
                percentile(samples, 0.5), percentile(samples, 0.1), percentile(samples, 0.9),
                percentile(samples, 0.99));
    std::printf("  %.0f queries/s, client CPU %.3f ms per round trip\n", count / roundTripSeconds,
                roundTripCpu * 1000.0 / count);
    std::printf("plain executes: %.0f commands/s (%.3f ms each)\n", count / executeSeconds,
                executeSeconds * 1000.0 / count);
    return 0;
}
