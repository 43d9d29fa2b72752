#pragma once
// Message boxes, file choosers and modal runs answered at once, so that no editor run
// under the fuzzer can wait for a person. Questions are answered from a seed byte (bit k
// for the k-th question: 0 the first button, 1 the other); choosers are cancelled and
// nested modal runs rejected.
#include <cstdint>

#include "ui/services.h"

namespace fuzzing {

class AutoServices final : public ui::Services {
public:
    AutoServices() { ui::SetServices(this); }
    ~AutoServices() override { ui::SetServices(nullptr); }
    AutoServices(const AutoServices&) = delete;
    AutoServices& operator=(const AutoServices&) = delete;

    // Starts a new run: the seed for its questions, the counters back to zero.
    void Reset(uint8_t seed);

    ui::MsgResult Message(QWidget* owner, const QString& text, ui::MsgButtons buttons) override;
    std::optional<QString> OpenFile(QWidget* owner, const ui::FileDialogOptions& options) override;
    std::optional<QString> SaveFile(QWidget* owner, const ui::FileDialogOptions& options) override;
    int RunModal(QDialog* dialog) override;

    int messages = 0;
    int questions = 0;

private:
    uint8_t m_seed = 0;
};

}  // namespace fuzzing
