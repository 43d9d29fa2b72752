#pragma once
// A scripted stand-in for message boxes, file choosers and modal runs. It records every
// message, answers questions and choosers from queues, and fails the test on a question
// nobody expected, so no test can hang on a dialog. Installed for its lifetime.
#include <gtest/gtest.h>

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "ui/services.h"

namespace testing_ui {

class ScriptedServices final : public ui::Services {
public:
    struct Shown {
        QString text;
        ui::MsgButtons buttons;
    };

    ScriptedServices() { ui::SetServices(this); }
    ~ScriptedServices() override {
        ui::SetServices(nullptr);
        EXPECT_TRUE(answers.empty()) << "unused answers: " << answers.size();
        EXPECT_TRUE(files.empty()) << "unused file answers: " << files.size();
    }
    ScriptedServices(const ScriptedServices&) = delete;
    ScriptedServices& operator=(const ScriptedServices&) = delete;

    // Every message shown, in order (OK-only messages need no answer).
    std::vector<Shown> shown;
    // Answers to questions (messages with more than an OK button), in order.
    std::deque<ui::MsgResult> answers;
    // Answers to file choosers: a path, or nullopt for Cancel.
    std::deque<std::optional<QString>> files;
    // What the choosers were opened with.
    std::vector<ui::FileDialogOptions> fileRequests;
    // Drives a modal run; unset means a modal run is unexpected.
    std::function<int(QDialog*)> modal;

    ui::MsgResult Message(QWidget*, const QString& text, ui::MsgButtons buttons) override {
        shown.push_back({text, buttons});
        if (buttons == ui::MsgButtons::Ok) return ui::MsgResult::Ok;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return buttons == ui::MsgButtons::OkCancel || buttons == ui::MsgButtons::YesNoCancel
                       ? ui::MsgResult::Cancel
                       : ui::MsgResult::No;
        }
        const ui::MsgResult r = answers.front();
        answers.pop_front();
        EXPECT_TRUE(Offers(buttons, r)) << "answer not among the buttons of: " << text.toStdString();
        return r;
    }

    std::optional<QString> OpenFile(QWidget*, const ui::FileDialogOptions& o) override {
        return Choose(o);
    }
    std::optional<QString> SaveFile(QWidget*, const ui::FileDialogOptions& o) override {
        return Choose(o);
    }

    int RunModal(QDialog* dialog) override {
        if (!modal) {
            ADD_FAILURE() << "unexpected modal run: " << dialog->windowTitle().toStdString();
            return QDialog::Rejected;
        }
        return modal(dialog);
    }

    // Texts of the messages shown, for compact assertions.
    std::vector<QString> Texts() const {
        std::vector<QString> out;
        for (const Shown& s : shown) out.push_back(s.text);
        return out;
    }
    QString Last() const { return shown.empty() ? QString() : shown.back().text; }

private:
    static bool Offers(ui::MsgButtons buttons, ui::MsgResult r) {
        using B = ui::MsgButtons;
        using R = ui::MsgResult;
        switch (buttons) {
            case B::Ok: return r == R::Ok;
            case B::OkCancel: return r == R::Ok || r == R::Cancel;
            case B::YesNo: return r == R::Yes || r == R::No;
            case B::YesNoCancel: return r == R::Yes || r == R::No || r == R::Cancel;
        }
        return false;
    }

    std::optional<QString> Choose(const ui::FileDialogOptions& o) {
        fileRequests.push_back(o);
        if (files.empty()) {
            ADD_FAILURE() << "unexpected file chooser: " << o.title.toStdString();
            return std::nullopt;
        }
        // Taken apart, so that no copy of an optional QString is made (g++ 12 at -O3 sees
        // one as possibly uninitialised).
        const bool cancelled = !files.front().has_value();
        QString path = cancelled ? QString() : *files.front();
        files.pop_front();
        if (cancelled) return std::nullopt;
        return path;
    }
};

}  // namespace testing_ui
