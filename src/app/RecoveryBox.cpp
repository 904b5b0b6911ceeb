#include "app/RecoveryBox.h"

#include "common/AppVersion.h"
#include "store/StoreMessages.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
QLabel *wrappedLabel(const QString &objectName, const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}
} // namespace

RecoveryBox::RecoveryBox(const QString &reason, const QString &databaseFolder, bool folderTakesWrites,
                         const QString &backupFolder, const BackupListing &backups, QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("RecoveryBox"));
    setWindowTitle(appTitle());
    setLayoutDirection(Qt::RightToLeft);
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this).pixmap(iconSize));
    icon->setAlignment(Qt::AlignTop);
    top->addWidget(icon);
    auto *texts = new QVBoxLayout;
    texts->addWidget(wrappedLabel(QStringLiteral("reasonLabel"), reason, this));
    texts->addWidget(wrappedLabel(QStringLiteral("choicesLabel"),
                                  folderTakesWrites ? StoreMessages::recoveryChoices(backupFolder)
                                                    : StoreMessages::folderNotWritable(databaseFolder),
                                  this));
    top->addLayout(texts, 1);
    layout->addLayout(top);

    auto *buttons = new QDialogButtonBox(this);
    const auto addButton = [&](const QString &name, const QString &text, Choice choice) {
        auto *button = buttons->addButton(text, QDialogButtonBox::ActionRole);
        button->setObjectName(name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, choice] { choose(choice); });
        return button;
    };
    if (folderTakesWrites) {
        addBackupList(backups);
        m_restore = addButton(QStringLiteral("restoreButton"), StoreMessages::restoreFromBackup(), Choice::Restore);
        m_restore->setEnabled(!backups.usable.isEmpty());
        if (backups.usable.isEmpty())
            m_restore->setToolTip(StoreMessages::noUsableBackup(backupFolder));
        m_restore->setDefault(!backups.usable.isEmpty());
        addButton(QStringLiteral("newDatabaseButton"), StoreMessages::startWithNewDatabase(), Choice::NewDatabase);
    }
    addButton(QStringLiteral("exitButton"), StoreMessages::exitProgram(), Choice::Exit);
    layout->addWidget(buttons);
    setMinimumWidth(560);
}

void RecoveryBox::addBackupList(const BackupListing &backups) {
    auto *layout = static_cast<QVBoxLayout *>(this->layout());
    layout->addWidget(wrappedLabel(QStringLiteral("backupListHeading"), StoreMessages::backupListHeading(), this));
    m_backups = new BackupListModel(backups.usable, this);
    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("backupList"));
    m_list->setModel(m_backups);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(true);
    m_list->setEnabled(!backups.usable.isEmpty());
    if (!backups.usable.isEmpty())
        m_list->setCurrentIndex(m_backups->index(0, 0));
    connect(m_list, &QTreeView::activated, this, [this] { choose(Choice::Restore); });
    layout->addWidget(m_list, 1);
    if (backups.leftOut > 0)
        layout->addWidget(
            wrappedLabel(QStringLiteral("leftOutLabel"), StoreMessages::backupsLeftOut(backups.leftOut), this));
}

BackupFile RecoveryBox::chosenBackup() const {
    return m_list ? m_backups->backupAt(m_list->currentIndex().row()) : BackupFile{};
}

void RecoveryBox::choose(Choice choice) {
    if (choice == Choice::Restore && chosenBackup().path.isEmpty())
        return;
    m_choice = choice;
    accept();
}
