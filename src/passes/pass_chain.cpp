#include "passes/pass_chain.h"

#include <iterator>

#include "base/log.h"
#include "passes/pass_kinds.h"
#include "passes/redraw.h"

namespace {
bool sameSettings(const PassSettings& a, const PassSettings& b) {
    return a.wrapAround == b.wrapAround && a.angleRadians == b.angleRadians;
}
}  // namespace

PassChain::Entries::iterator PassChain::at(int position) {
    if (position <= 0) return entries_.begin();
    if (position >= size()) return entries_.end();
    return std::next(entries_.begin(), position);
}

Pass* PassChain::passAt(int position) const {
    if (position < 0 || position >= size()) return nullptr;
    return std::next(entries_.begin(), position)->pass.get();
}

bool PassChain::upToDate(const Entry& entry, std::uint64_t inputGeneration) const {
    if (!entry.pass->output || entry.inputGeneration != inputGeneration) return false;
    return !entry.pass->readsSettings() || sameSettings(entry.ranWith, settings_);
}

void PassChain::evaluate(HWND owner) {
    if (!source_) return;
    const IndexedImage* input = source_->valid ? source_.get() : nullptr;
    std::uint64_t inputGeneration = sourceGeneration_;
    for (Entry& entry : entries_) {
        if (input == nullptr) break;
        if (!upToDate(entry, inputGeneration)) {
            entry.pass->apply(owner, *input);
            entry.inputGeneration = inputGeneration;
            entry.outputGeneration = nextGeneration_++;
            entry.ranWith = settings_;
        }
        inputGeneration = entry.outputGeneration;
        const IndexedImage* out = entry.pass->output.get();
        input = out != nullptr && out->valid ? out : nullptr;
    }
    redrawWindowNow(owner);
}

void PassChain::dropFrom(Entries::iterator first) {
    for (auto it = first; it != entries_.end(); ++it) it->pass->output.reset();
}

void PassChain::insertPass(HWND owner, int position, int kind) {
    std::unique_ptr<Pass> pass = makePass(kind, settings_);
    if (!pass) {
        logLine("ERROR: unimplemented pass!!");
        return;
    }
    const auto insertionPoint = at(position);
    entries_.insert(insertionPoint, Entry{std::move(pass), 0, 0, {}});
    dropFrom(insertionPoint);
    evaluate(owner);
}

void PassChain::removePass(HWND owner, int position) {
    if (position < 0 || position >= size()) return;
    const auto next = entries_.erase(at(position));
    dropFrom(next);
    evaluate(owner);
}

void PassChain::dropOutputs() {
    dropFrom(entries_.begin());
}

void PassChain::dropImages() {
    source_.reset();
    dropOutputs();
}

void PassChain::setSource(std::unique_ptr<IndexedImage> image) {
    source_ = std::move(image);
    sourceGeneration_ = nextGeneration_++;
}

void PassChain::setWrapAround(HWND owner, std::uint8_t flag) {
    settings_.wrapAround = flag;
    evaluate(owner);
}

void PassChain::setRotationAngle(HWND owner, double degrees) {
    settings_.angleDegrees = degrees;
    // Extended precision, as the angle has always been computed: (d + d) * pi / 360.
    // Doubling is exact in a double, so whole degrees keep their old radians.
    const long double pi = 3.141592653589793;
    settings_.angleRadians =
        static_cast<double>(static_cast<long double>(degrees + degrees) * pi / 360.0L);
    if (source_) evaluate(owner);
}

IndexedImage* PassChain::displayedImage() const {
    IndexedImage* image = entries_.empty() ? source_.get() : entries_.back().pass->output.get();
    return image != nullptr && image->valid ? image : nullptr;
}
