#pragma once
// The ordered, owning list of passes, the source image it runs on, and the
// shared settings. Evaluation runs the passes in order, each on the previous
// output, reusing output images; edits drop the outputs they may resize.
#include <cstdint>
#include <list>
#include <memory>

#include "passes/pass.h"

class PassChain {
  public:
    PassChain() = default;
    PassChain(const PassChain&) = delete;
    PassChain& operator=(const PassChain&) = delete;

    // Runs the chain from the source and redraws `owner`. Skips a pass whose
    // input and settings are what it last ran with (its output already holds
    // what a rerun would write). Stops at a pass whose output is not valid.
    void evaluate(HWND owner);

    // Inserts a pass of `kind` before position `position` (<= 0: at the front;
    // beyond the end: appended), drops the outputs behind it, evaluates.
    // A kind outside 0..kPassKindCount - 1 logs "ERROR: unimplemented pass!!" and changes nothing.
    void insertPass(HWND owner, int position, int kind);
    // Removes the pass at `position`, drops the outputs behind it, evaluates.
    // A position outside the chain is ignored.
    void removePass(HWND owner, int position);

    // Destroys the source image and every output; no evaluation, no redraw.
    void dropImages();
    // Destroys every output, keeping the source.
    void dropOutputs();

    void setWrapAround(HWND owner, std::uint8_t flag);
    // Stores degrees and radians; evaluates only when there is a source image.
    // Whole degrees give the same radians as they always have.
    void setRotationAngle(HWND owner, double degrees);

    // The last pass's output, or the source when the chain is empty; null when
    // that image is missing or not valid.
    IndexedImage* displayedImage() const;

    // Takes ownership of a new source image (the import's). Outputs are kept:
    // the caller drops them first when the size may change.
    void setSource(std::unique_ptr<IndexedImage> image);
    IndexedImage* source() const { return source_.get(); }
    // Gives the source up (null when there is none); outputs are kept. Edits
    // made meanwhile evaluate nothing, so a caller can rebuild the chain and
    // evaluate once when it sets the source back.
    std::unique_ptr<IndexedImage> takeSource() { return std::move(source_); }

    // Changes whenever a source is set, even the same image again.
    std::uint64_t sourceGeneration() const { return sourceGeneration_; }

    const PassSettings& settings() const { return settings_; }
    int size() const { return static_cast<int>(entries_.size()); }
    // The pass at `position` (0-based), or null.
    Pass* passAt(int position) const;

  private:
    struct Entry {
        std::unique_ptr<Pass> pass;
        std::uint64_t inputGeneration = 0;   // generation of the input it last ran on
        std::uint64_t outputGeneration = 0;  // bumped on every run
        PassSettings ranWith;
    };
    using Entries = std::list<Entry>;

    Entries::iterator at(int position);
    void dropFrom(Entries::iterator first);
    bool upToDate(const Entry& entry, std::uint64_t inputGeneration) const;

    Entries entries_;
    std::unique_ptr<IndexedImage> source_;
    std::uint64_t sourceGeneration_ = 0;
    std::uint64_t nextGeneration_ = 1;
    PassSettings settings_;
};
