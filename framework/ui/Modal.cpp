#include "framework/ui/Modal.h"

#include "framework/ui/qt/Bridge.h"
#include "framework/ui/qt/PrinterImpl.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QUrl>

namespace fw {
namespace {

class PlatformModal : public ModalServices {
public:
    void MsgBox(const std::string& text) override {
        QMessageBox box(QMessageBox::NoIcon, QString(), detail::Displayed(text), QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    }
    void Beep() override { QApplication::beep(); }
    void ShowURL(const std::string& url) override { QDesktopServices::openUrl(QUrl(detail::Q(url))); }
    std::optional<std::string> SaveAsDialog(const std::string& title, const std::string& suggestedName) override {
        // Started in the user's home folder: the program's working folder means nothing to the user.
        const QString path = QFileDialog::getSaveFileName(QApplication::activeWindow(), detail::Q(title),
                                                          QDir::home().filePath(detail::Q(suggestedName)));
        if (path.isEmpty())
            return std::nullopt;
        return path.toStdString();
    }
    std::optional<std::string> OpenDialog(const std::string& title) override {
        const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), detail::Q(title), QDir::homePath());
        if (path.isEmpty())
            return std::nullopt;
        return path.toStdString();
    }
    bool PageSetupDialog(PrinterSetup& setup) override {
        QPageSetupDialog dialog(setup.impl().printer.get(), QApplication::activeWindow());
        return dialog.exec() == QDialog::Accepted;
    }
    bool PrintDialog(PrinterSetup& setup) override {
        QPrintDialog dialog(setup.impl().printer.get(), QApplication::activeWindow());
        return dialog.exec() == QDialog::Accepted;
    }
};

ModalServices* g_override = nullptr;

} // namespace

void SetModalServices(ModalServices* services) { g_override = services; }

ModalServices& Modal() {
    static PlatformModal platform;
    return g_override ? *g_override : platform;
}

void MsgBox(const std::string& text) { Modal().MsgBox(text); }
void Beep() { Modal().Beep(); }
void ShowURL(const std::string& url) { Modal().ShowURL(url); }

} // namespace fw
