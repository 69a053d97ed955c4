#include "fakes/fake_form.h"

namespace tervane::fake {

void FakeOptionsWindow::showForm() {
    log_.record(Call::ShowForm);
    visible = true;
}

void FakeOptionsWindow::hideForm() {
    log_.record(Call::HideForm);
    visible = false;
}

void FakeOptionsWindow::setFormState(FormState newState) {
    log_.record(newState == FormState::Minimized ? Call::SetFormMinimized : Call::SetFormNormal);
    // Restoring and minimizing both show the window; only a change of state
    // is a resize, as the platform has it.
    const bool changed = state != newState;
    state = newState;
    visible = true;
    if (changed && events) events->onResize();
}

Size FakeOptionsWindow::restoredFormSize() {
    log_.record(Call::RestoredFormSize);
    return outerSize;
}

void FakeOptionsWindow::placeRestoredForm(Point topLeft) {
    log_.record(Call::PlaceRestoredForm);
    position = topLeft;
}

MenuChoice FakeOptionsWindow::popupTrayMenu() {
    log_.record(Call::PopupTrayMenu);
    ++menusShown;
    return menuAnswer;
}

void FakeOptionsWindow::setWhiteSelected(bool isWhite) {
    log_.record(Call::SetWhiteSelected);
    white = isWhite;
}

void FakeOptionsWindow::setToggleValue(int value) {
    log_.record(Call::SetToggleValue);
    toggle = value;
}

void FakeOptionsWindow::destroyForm() {
    log_.record(Call::DestroyForm);
    destroyed = true;
    visible = false;
}

void FakeMessageBoxes::messageBox(std::wstring_view text, std::uint32_t flags) {
    log_.record(Call::MessageBox);
    shown.push_back({std::wstring(text), flags, clock_});
    if (onShown) onShown(shown.back());
}

}  // namespace tervane::fake
