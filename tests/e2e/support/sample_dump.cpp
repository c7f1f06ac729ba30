#include "sample_dump.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "host/packed_dib_writer.h"
#include "host_sim_process.h"

const HostDump& pristineSample() {
    static const HostDump sample = [] {
        TempFolder folder;
        HostSimProcess({"--sample", "--dump", folder.file("dump")}).stop();
        return readDump(folder.file("dump"));
    }();
    return sample;
}

testing::AssertionResult sameImage(const IndexedImage* actual, const IndexedImage& expected) {
    if (actual == nullptr) return testing::AssertionFailure() << "no image";
    std::vector<std::uint8_t> a(packedDibBytes(*actual));
    std::vector<std::uint8_t> b(packedDibBytes(expected));
    writePackedDib(*actual, a.data());
    writePackedDib(expected, b.data());
    if (a == b) return testing::AssertionSuccess();
    return testing::AssertionFailure() << actual->width << "x" << actual->height << " differs";
}

void expectSampleUntouched(const HostDump& dump) {
    ASSERT_EQ(dump.projects.count(kSample), 1u);
    EXPECT_EQ(dump.projects.at(kSample), pristineSample().projects.at(kSample));
    for (const auto& [key, image] : pristineSample().layers) {
        EXPECT_TRUE(sameImage(dump.layer(key.project, key.frame, key.layer), *image))
            << "frame " << key.frame << " layer " << key.layer;
    }
}

std::unique_ptr<PassChain> runChain(const IndexedImage& source, const std::vector<int>& kinds,
                                    double degrees, bool wrapAround) {
    auto chain = std::make_unique<PassChain>();
    auto copy =
        std::make_unique<IndexedImage>(nullptr, source.width, source.height, source.palette());
    std::memcpy(copy->pixels, source.pixels, static_cast<size_t>(source.stride()) * source.height);
    chain->setSource(std::move(copy));
    chain->setRotationAngle(nullptr, degrees);
    chain->setWrapAround(nullptr, wrapAround ? 1 : 0);
    for (int kind : kinds) chain->insertPass(nullptr, chain->size(), kind);
    return chain;
}
