#include "gui/dialogs/QtPrompter.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

#include "gui/dialogs/CenterOnMain.h"
#include "gui/dialogs/frmAsk4Pwd.h"

namespace kest::gui {
namespace {

// Flags of the classic file dialogs that change what Qt's dialog does.
constexpr int kOverwritePrompt = 0x2;
constexpr int kFileMustExist = 0x1000;

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// Message texts separate lines with CR LF.
QString MessageText(const std::string& text) {
    return FromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QMessageBox::Icon BoxIcon(Icon icon) {
    switch (icon) {
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

std::vector<QMessageBox::StandardButton> BoxButtons(Buttons buttons) {
    using B = QMessageBox;
    switch (buttons) {
        case Buttons::OKOnly:
            return {B::Ok};
        case Buttons::OKCancel:
            return {B::Ok, B::Cancel};
        case Buttons::AbortRetryIgnore:
            return {B::Abort, B::Retry, B::Ignore};
        case Buttons::YesNoCancel:
            return {B::Yes, B::No, B::Cancel};
        case Buttons::YesNo:
            return {B::Yes, B::No};
        case Buttons::RetryCancel:
            return {B::Retry, B::Cancel};
    }
    return {B::Ok};
}

}  // namespace

QString QtFileFilter(const std::string& vbFilter) {
    QStringList parts = FromUtf8(vbFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        // Qt reads the patterns from the parentheses of the description.
        qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0) description.truncate(open);
        filters << description.trimmed() + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

Answer QtPrompter::Message(const MessageBoxSpec& box) {
    QString title = box.title.empty() ? QString::fromLatin1(kAppTitle) : FromUtf8(box.title);
    QMessageBox message(BoxIcon(box.icon), title, MessageText(box.text), QMessageBox::NoButton,
                        m_main);
    std::vector<QMessageBox::StandardButton> buttons = BoxButtons(box.buttons);
    for (auto button : buttons) message.addButton(button);
    size_t defaultIndex = static_cast<size_t>(std::max(box.defaultButton, 1)) - 1;
    if (defaultIndex < buttons.size()) message.setDefaultButton(buttons[defaultIndex]);
    if (buttons.size() == 1) message.setEscapeButton(buttons.front());
    message.exec();
    QAbstractButton* clicked = message.clickedButton();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (clicked == message.button(buttons[i]))
            return ButtonAnswer(box.buttons, static_cast<int>(i) + 1);
    // Closed without a button: the box's cancel answer, or its only button.
    return buttons.size() == 1 ? Answer::OK : ButtonAnswer(box.buttons, int(buttons.size()));
}

std::optional<std::string> QtPrompter::Input(const std::string& title, const std::string& prompt,
                                             const std::string& defaultText) {
    QInputDialog dialog(m_main);
    dialog.setWindowTitle(title.empty() ? QString::fromLatin1(kAppTitle) : FromUtf8(title));
    dialog.setLabelText(MessageText(prompt));
    dialog.setTextValue(FromUtf8(defaultText));
    CenterOnMain(m_main, &dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue().toStdString();
}

std::optional<std::string> QtPrompter::Password() {
    frmAsk4Pwd dialog(m_main);
    dialog.exec();
    if (dialog.promptResult() != 1) return std::nullopt;
    return dialog.password().toStdString();
}

std::optional<std::string> QtPrompter::FileDialog(const FileDialogSpec& request, bool save) {
    QFileDialog dialog(m_main, FromUtf8(request.title), FromUtf8(request.initialDir));
    dialog.setObjectName(QStringLiteral("cdgOpenDB"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !(request.flags & kFileMustExist) ? QFileDialog::AnyFile
                                                                 : QFileDialog::ExistingFile);
    // The commands ask their own overwrite questions unless the flag asks for it.
    if (!(request.flags & kOverwritePrompt)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QStringList filters = QtFileFilter(request.filter).split(QStringLiteral(";;"));
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.fileName.empty()) dialog.selectFile(FromUtf8(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

std::optional<std::string> QtPrompter::OpenFile(const FileDialogSpec& dialog) {
    return FileDialog(dialog, false);
}

std::optional<std::string> QtPrompter::SaveFile(const FileDialogSpec& dialog) {
    return FileDialog(dialog, true);
}

}  // namespace kest::gui
