#include "platform/QtFileDialog.h"

#include "platform/FileDialogFilter.h"
#include "platform/FileSelection.h"
#include "platform/ModalDialog.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>

#include <algorithm>

namespace {

// Qt's own dialog lets several files be picked only in the mode that also refuses a typed name
// that does not exist (its Open button stays disabled). Once shown, when its widgets exist, it
// takes any name instead, and its file views keep letting several files be picked; the loader
// then says "File not found". A native dialog is left to its own rules. No Q_OBJECT here: Qt
// offers a native dialog only to a subclass that keeps QFileDialog's meta-object.
class OpenDialog final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void showEvent(QShowEvent* event) override {
        if (fileMode() == QFileDialog::ExistingFiles)
            TakeAnyNamesKeepingMultiSelection();
        QFileDialog::showEvent(event);
    }

private:
    void TakeAnyNamesKeepingMultiSelection() {
        QList<QAbstractItemView*> multiple;
        for (QAbstractItemView* view : findChildren<QAbstractItemView*>())
            if (view->selectionMode() == QAbstractItemView::ExtendedSelection)
                multiple.append(view);
        if (multiple.isEmpty())
            return;                        // a native dialog: no widgets of Qt's own
        setFileMode(QFileDialog::AnyFile); // makes every view single-selection again
        for (QAbstractItemView* view : multiple)
            view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
};

} // namespace

QtFileDialog::QtFileDialog(QWidget* parent, Kind kind) : parent_(parent), kind_(kind) {}

Task<> QtFileDialog::ShowOpen() {
    // Owned here, but watched: the window it belongs to may take it along when it goes.
    QPointer<QFileDialog> dialog = new OpenDialog(parent_);
    const bool several = (flags_ & FileDialogFlags::AllowMultiSelect) != 0;
    SetUp(*dialog, QFileDialog::AcceptOpen,
          several ? QFileDialog::ExistingFiles : QFileDialog::AnyFile);
    fileName_ = JoinedSelection(co_await Run(dialog));
    delete dialog.data();
}

Task<> QtFileDialog::ShowSave() {
    QPointer<QFileDialog> dialog = new QFileDialog(parent_);
    SetUp(*dialog, QFileDialog::AcceptSave, QFileDialog::AnyFile);
    // The caller asks before replacing a file, and saves under exactly the name typed.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setDefaultSuffix({});
    const QStringList chosen = co_await Run(dialog);
    fileName_ = chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen.first());
    delete dialog.data();
}

void QtFileDialog::SetUp(QFileDialog& dialog, QFileDialog::AcceptMode acceptMode,
                         QFileDialog::FileMode fileMode) const {
    // Qt takes this choice only before any other property is set.
    dialog.setOption(QFileDialog::DontUseNativeDialog, kind_ == Kind::QtWidgets);
    dialog.setAcceptMode(acceptMode);
    dialog.setFileMode(fileMode);
    if (!dialogTitle_.isEmpty())
        dialog.setWindowTitle(dialogTitle_);
    const QStringList nameFilters = QtNameFilters(filter_);
    if (!nameFilters.isEmpty()) {
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilters(nameFilters);
        dialog.selectNameFilter(nameFilters.value(lastFilterIndex_, nameFilters.first()));
    }
    if (!lastFolder_.isEmpty())
        dialog.setDirectory(lastFolder_);
    if (!fileName_.isEmpty())
        dialog.selectFile(fileName_);
}

Task<QStringList> QtFileDialog::Run(QPointer<QFileDialog> dialog) {
    const int result = co_await ShowModal(*dialog);
    if (!dialog || result != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        co_return QStringList();
    // Qt's own dialog gives picked files in the order of its list, which sorts them once it has
    // read the folder: the name box keeps the order they were picked or typed in.
    const auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QStringList chosen =
        InNamedOrder(dialog->selectedFiles(), nameBox ? nameBox->text() : QString());
    lastFolder_ = QFileInfo(chosen.first()).absolutePath();
    const qsizetype filterIndex =
        NameFilterIndex(dialog->nameFilters(), dialog->selectedNameFilter());
    if (filterIndex >= 0)
        lastFilterIndex_ = filterIndex;
    filterIndex_ = static_cast<int>(std::max<qsizetype>(filterIndex, 0));
    co_return chosen;
}
