#pragma once
// A batch through the real link and clipboard, checked pair by pair against a
// chain of the test's own.
#include <string>

#include "host/export.h"
#include "host/frame_import.h"
#include "hosted_state.h"

// Grabs frame 1, layer 0 through Scale2x, sends every frame and layer of the
// current project `source` into a new project, closes the host, and expects
// each of the source's layers in the new project as Scale2x makes it.
inline void expectBatchDelivered(HostedRun& run, int source) {
    constexpr int kScale2x = 2;
    const HWND owner = run.owner();
    run.state.chain.insertPass(owner, 0, kScale2x);
    ASSERT_TRUE(ImportImage(run.state, owner, 1, 0, run.error)) << run.error.text;
    EXPECT_TRUE(ExportBatch(run.state, owner, true, true, true, run.error)) << run.error.text;
    run.finish();
    const HostDump& dump = run.dump();
    ASSERT_EQ(dump.projects.count(source), 1u);
    const int created = dump.projects.rbegin()->first;
    ASSERT_NE(created, source);
    const int frames = std::stoi(dump.projects.at(source).at("frames"));
    const int layers = std::stoi(dump.projects.at(source).at("layers"));
    int delivered = 0;
    int wrong = 0;
    for (int f = 1; f <= frames; ++f) {
        for (int l = 0; l < layers; ++l) {
            const IndexedImage* image = dump.layer(source, f, l);
            const IndexedImage* result = dump.layer(created, f, l);
            ASSERT_TRUE(image != nullptr && result != nullptr) << "frame " << f << " layer " << l;
            const testing::AssertionResult same =
                sameImage(result, *runChain(*image, {kScale2x})->displayedImage());
            if (same) {
                ++delivered;
            } else if (wrong++ == 0) {  // the first is enough in a long batch
                ADD_FAILURE() << "frame " << f << " layer " << l << ": " << same.message();
            }
        }
    }
    EXPECT_EQ(delivered, frames * layers);
}
