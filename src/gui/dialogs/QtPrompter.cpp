#include "gui/dialogs/QtPrompter.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

#include "core/ui/FileFilter.h"
#include "core/ui/MessageText.h"
#include "gui/dialogs/CenterOnMain.h"
#include "gui/dialogs/frmAsk4Pwd.h"

namespace kest::gui {
namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

QString MessageText(const std::string& text) {
    return FromUtf8(WithLineFeeds(text));
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
    QStringList filters;
    for (const FileFilter& filter : ParseFileFilter(vbFilter)) {
        QStringList patterns;
        for (const std::string& pattern : filter.patterns)
            patterns << (pattern == "*.*" ? QStringLiteral("*") : FromUtf8(pattern));
        // Qt reads the patterns from the parentheses of the description.
        QString description = FromUtf8(filter.description);
        qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0) description.truncate(open);
        filters << description.trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

Answer QtPrompter::Message(const MessageBoxRequest& box) {
    QString title = box.title.empty() ? QString::fromLatin1(kAppTitle) : FromUtf8(box.title);
    QMessageBox message(BoxIcon(box.icon), title, MessageText(box.text), QMessageBox::NoButton,
                        m_main);
    std::vector<QMessageBox::StandardButton> buttons = BoxButtons(box.buttons);
    for (auto button : buttons) message.addButton(button);
    message.setDefaultButton(buttons[DefaultButtonIndex(box.buttons, box.defaultButton)]);
    if (buttons.size() == 1) message.setEscapeButton(buttons.front());
    message.exec();
    QAbstractButton* clicked = message.clickedButton();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (clicked == message.button(buttons[i]))
            return ButtonAnswer(box.buttons, static_cast<int>(i) + 1);
    return ClosedAnswer(box.buttons);
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

std::optional<std::string> QtPrompter::FileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(m_main, FromUtf8(request.title), FromUtf8(request.initialDir));
    dialog.setObjectName(QStringLiteral("cdgOpenDB"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    const FileDialogBehaviour behaviour = DialogBehaviour(request.flags);
    dialog.setFileMode(request.folder                     ? QFileDialog::Directory
                       : save || !behaviour.fileMustExist ? QFileDialog::AnyFile
                                                          : QFileDialog::ExistingFile);
    if (request.folder) dialog.setOption(QFileDialog::ShowDirsOnly);
    // The commands ask their own overwrite questions unless the flag asks for it.
    if (!behaviour.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QStringList filters = QtFileFilter(request.filter).split(QStringLiteral(";;"));
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.fileName.empty()) dialog.selectFile(FromUtf8(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    std::string chosen = dialog.selectedFiles().constFirst().toStdString();
    if (!save) return chosen;
    // A name typed without an extension takes the chosen type's.
    return WithFilterExtension(chosen, request.filter,
                               int(filters.indexOf(dialog.selectedNameFilter())) + 1);
}

std::optional<std::string> QtPrompter::OpenFile(const FileDialogRequest& dialog) {
    return FileDialog(dialog, false);
}

std::optional<std::string> QtPrompter::SaveFile(const FileDialogRequest& dialog) {
    return FileDialog(dialog, true);
}

}  // namespace kest::gui
