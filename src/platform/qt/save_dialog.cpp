#include "platform/qt/save_dialog.h"

#include <QFileDialog>
#include <QStringList>

#include "platform/qt/local_paths.h"

std::optional<std::string> runSaveDialog(const SaveDialogRequest& request, QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(qtPathOf(request.defaultExtension));
    if (!request.proposedPath.empty()) dialog.selectFile(qtPathOf(request.proposedPath));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return corePathOf(chosen.first());
}
