#include "ui/services.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>
#include <QMessageBox>

namespace ui {
namespace {

// A chooser wide enough for the name, size, type and date columns to show in full.
void Widen(QFileDialog& dialog) {
    dialog.resize(860, 520);
    if (auto* details = dialog.findChild<QTreeView*>()) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
}

class QtServices final : public Services {
public:
    MsgResult Message(QWidget* owner, const QString& text, MsgButtons buttons) override {
        QMessageBox box(QMessageBox::NoIcon, AppTitle(), text, QMessageBox::NoButton, owner);
        switch (buttons) {
            case MsgButtons::Ok:
                box.setIcon(QMessageBox::Information);
                box.setStandardButtons(QMessageBox::Ok);
                break;
            case MsgButtons::OkCancel:
                box.setIcon(QMessageBox::Question);
                box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
                break;
            case MsgButtons::YesNo:
                box.setIcon(QMessageBox::Question);
                box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
                break;
            case MsgButtons::YesNoCancel:
                box.setIcon(QMessageBox::Question);
                box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
                break;
        }
        NameButtons(box);
        switch (box.exec()) {
            case QMessageBox::Ok: return MsgResult::Ok;
            case QMessageBox::Yes: return MsgResult::Yes;
            case QMessageBox::No: return MsgResult::No;
            default: return MsgResult::Cancel;
        }
    }

    std::optional<QString> OpenFile(QWidget* owner, const FileDialogOptions& options) override {
        QFileDialog dialog(owner, options.title, options.initialFolder, Filter(options));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        Widen(dialog);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::ReadOnly, false);
        if (!options.fileName.isEmpty()) dialog.selectFile(options.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().constFirst();
    }

    std::optional<QString> SaveFile(QWidget* owner, const FileDialogOptions& options) override {
        QFileDialog dialog(owner, options.title, options.initialFolder, Filter(options));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        Widen(dialog);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!options.defaultSuffix.isEmpty()) {
            dialog.setDefaultSuffix(options.defaultSuffix);
            // A name typed without a suffix takes the selected filter's.
            QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
                const QString suffix = FilterSuffix(filter);
                if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
            });
        }
        if (!options.fileName.isEmpty()) dialog.selectFile(options.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().constFirst();
    }

    int RunModal(QDialog* dialog) override { return dialog->exec(); }

private:
    // The buttons speak the program's language, whatever Qt translations are installed.
    static void NameButtons(QMessageBox& box) {
        static const struct {
            QMessageBox::StandardButton button;
            const char16_t* text;
        } kNames[] = {{QMessageBox::Ok, u"OK"},
                      {QMessageBox::Cancel, u"キャンセル"},
                      {QMessageBox::Yes, u"はい(&Y)"},
                      {QMessageBox::No, u"いいえ(&N)"}};
        for (const auto& name : kNames) {
            if (QAbstractButton* b = box.button(name.button)) b->setText(QString::fromUtf16(name.text));
        }
    }

    // "bps" of "BPSパッチ(*.bps)"; empty when the filter names no single suffix.
    static QString FilterSuffix(const QString& filter) {
        const qsizetype star = filter.indexOf(QStringLiteral("(*."));
        const qsizetype close = filter.indexOf(QLatin1Char(')'), star);
        if (star < 0 || close < 0) return QString();
        const QString suffix = filter.mid(star + 3, close - star - 3);
        return suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char(' ')) ? QString() : suffix;
    }

    static QString Filter(const FileDialogOptions& options) {
        if (options.filterText.isEmpty()) return QString();
        // The text already names the pattern; Qt reads the pattern from the parentheses.
        if (options.filterText.contains(options.filterPattern)) return options.filterText;
        return options.filterText + QStringLiteral(" (") + options.filterPattern + QLatin1Char(')');
    }
};

QtServices g_qtServices;
Services* g_services = nullptr;

}  // namespace

Services& services() { return g_services ? *g_services : g_qtServices; }

void SetServices(Services* s) { g_services = s; }

QString AppTitle() {
    const QString path = QCoreApplication::applicationFilePath();
    if (path.isEmpty()) return QStringLiteral("tsumugi");
    return QFileInfo(path).completeBaseName();
}

}  // namespace ui
