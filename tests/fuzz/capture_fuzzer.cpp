// Reading captures over window trees that change between them. Each input
// line is one step: an operation byte, a window byte (which live window, in
// creation order: 0 the monitor's main window, 1 another program's), then a
// text. 'a' adds a child with the text, 't' sets the text, 'l' sets it
// repeated past the 254 characters the platform hands over, 'r' removes the
// window and its descendants; anything else captures. One capture ends it.
// Each capture is held against the walk of a model of the same tree.

#include <vector>

#include "fakes/fake_windows.h"
#include "fuzz_support.h"
#include "monitor/monitor_contract.h"
#include "monitor/reading_capture.h"

using namespace tervane;
using monitor::kSlotCount;
using monitor::kSlotWidth;

namespace {

constexpr std::size_t kMaxWindows = 200;

struct Node {
    std::size_t parent;  // index of the parent node; the two top-level windows: none
    WindowHandle handle;
    std::wstring text;
    bool alive = true;
};

class Model {
  public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    explicit Model(fake::FakeOtherWindows& desktop) : desktop_(desktop) {
        nodes_.push_back({kNone,
                          desktop.addTopLevel(std::wstring(monitor::kMainClass),
                                              std::wstring(monitor::kMainTitle)),
                          std::wstring(monitor::kMainTitle)});
        nodes_.push_back({kNone, desktop.addTopLevel(L"TOther", L"Other"), L"Other"});
    }

    WindowHandle probe() const { return nodes_[0].handle; }

    // The live node picked by a byte, or none when every window is gone.
    std::size_t pick(std::uint8_t which) const {
        std::vector<std::size_t> live;
        for (std::size_t i = 0; i < nodes_.size(); ++i) {
            if (nodes_[i].alive) live.push_back(i);
        }
        return live.empty() ? kNone : live[which % live.size()];
    }

    void add(std::size_t parent, const std::wstring& text) {
        if (nodes_.size() >= kMaxWindows) return;
        nodes_.push_back({parent, desktop_.addChild(nodes_[parent].handle, text), text});
    }
    void setText(std::size_t node, const std::wstring& text) {
        nodes_[node].text = text;
        desktop_.setText(nodes_[node].handle, text);
    }
    void remove(std::size_t node) {
        desktop_.removeWindow(nodes_[node].handle);
        markRemoved(node);
    }

    // The texts the platform hands over for the probe's descendants, in the
    // walk's order: depth first, each window before its children, siblings
    // in creation order.
    std::vector<std::wstring> walk() const {
        std::vector<std::wstring> texts;
        if (nodes_[0].alive) visit(0, texts);
        return texts;
    }

  private:
    void visit(std::size_t parent, std::vector<std::wstring>& texts) const {
        for (std::size_t i = 0; i < nodes_.size(); ++i) {
            if (!nodes_[i].alive || nodes_[i].parent != parent) continue;
            texts.push_back(nodes_[i].text.substr(0, 254));
            visit(i, texts);
        }
    }
    void markRemoved(std::size_t node) {
        nodes_[node].alive = false;
        for (std::size_t i = 0; i < nodes_.size(); ++i) {
            if (nodes_[i].alive && nodes_[i].parent == node) markRemoved(i);
        }
    }

    fake::FakeOtherWindows& desktop_;
    std::vector<Node> nodes_;
};

std::wstring cutAtNul(const std::wstring& text) { return text.substr(0, text.find(L'\0')); }

void captureAndCheck(monitor::ReadingTable& table, fake::CallLog& log,
                     fake::FakeOtherWindows& desktop, const Model& model) {
    const monitor::ReadingTable before = table;
    log.clear();
    desktop.visitAnswers.clear();

    monitor::captureReadings(table, desktop, model.probe());

    const std::vector<std::wstring> walk = model.walk();
    std::size_t anchor = 0;
    while (anchor < walk.size() && cutAtNul(walk[anchor]) != monitor::kAnchorText) ++anchor;
    const bool anchorFound = anchor < walk.size();
    const std::size_t written =
        anchorFound ? std::min<std::size_t>(kSlotCount, walk.size() - anchor) : 0;

    FUZZ_CHECK(table.slotCount >= 0 && table.slotCount <= kSlotCount);
    FUZZ_CHECK(static_cast<std::size_t>(table.slotCount) == written);
    FUZZ_CHECK(table.anchorSeen == anchorFound);
    for (const std::wstring& slot : table.slots) FUZZ_CHECK(slot.size() == kSlotWidth);
    FUZZ_CHECK(table.slots[0] == before.slots[0]);
    for (std::size_t n = 1; n <= kSlotCount; ++n) {
        if (n <= written) {
            // The n-th window from the anchor on, cut at its NUL, padded or cut to six.
            FUZZ_CHECK(table.slots[n] == fuzz::fieldOf(cutAtNul(walk[anchor + n - 1]), kSlotWidth));
        } else {
            FUZZ_CHECK(table.slots[n] == before.slots[n]);
        }
    }

    // The walk goes to its end, or stops right at the tenth slot.
    const bool stopped = written == kSlotCount;
    const std::size_t visits = stopped ? anchor + kSlotCount : walk.size();
    FUZZ_CHECK(desktop.visitAnswers.size() == visits);
    FUZZ_CHECK(static_cast<std::size_t>(log.count(fake::Call::WindowText)) == visits);
    for (std::size_t i = 0; i < visits; ++i) {
        FUZZ_CHECK(desktop.visitAnswers[i] == !(stopped && i + 1 == visits));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fake::CallLog log;
    fake::FakeOtherWindows desktop(log);
    Model model(desktop);
    monitor::ReadingTable table;

    for (const fuzz::Bytes line : fuzz::lines({data, size})) {
        if (line.empty()) continue;
        const std::uint8_t op = line[0];
        // Digits pick windows 0 to 9 in readable seeds; any byte picks one.
        const std::size_t node =
            model.pick(line.size() > 1 ? static_cast<std::uint8_t>(line[1] - '0') : 0);
        const std::wstring text =
            fuzz::wideText(line.subspan(std::min<std::size_t>(2, line.size())));
        const bool onWindow = op == 'a' || op == 't' || op == 'l' || op == 'r';
        if (onWindow && node == Model::kNone) continue;  // every window is gone
        if (op == 'a') {
            model.add(node, text);
        } else if (op == 't') {
            model.setText(node, text);
        } else if (op == 'l') {
            std::wstring longText = text.empty() ? L"x" : text;
            while (longText.size() <= 254) longText += text.empty() ? L"x" : text;
            model.setText(node, longText);
        } else if (op == 'r') {
            model.remove(node);
        } else {
            captureAndCheck(table, log, desktop, model);
        }
    }
    captureAndCheck(table, log, desktop, model);
    return 0;
}
