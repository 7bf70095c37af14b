#include "shell/qt/ArrayViewer.h"

#include "gamelink/PlayerTable.h"
#include "platform/SoundPlayer.h"
#include "shell/qt/QtText.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

namespace hh {

ArrayViewer::ArrayViewer(PlayerTable& table, SoundPlayer& sound, QWidget* parent)
    : QDialog(parent), table_(table) {
    setObjectName(QStringLiteral("frmArrayViewer"));
    setWindowTitle(QStringLiteral("Array Viewer"));
    setModal(false);
    auto* grid = new QGridLayout(this);
    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    for (int i = 0; i < 2; ++i) {
        boxes_[i] = new QTextEdit(this);
        boxes_[i]->setObjectName(QStringLiteral("txtDebugDisplayBox%1").arg(i + 1));
        boxes_[i]->setReadOnly(true);
        boxes_[i]->setLineWrapMode(QTextEdit::NoWrap);
        grid->addWidget(boxes_[i], 0, i * 2, 1, 2);
        QPushButton* displayAll =
            button(i == 0 ? "cmdDisplayAll1" : "cmdDisplayAll2", "Display All");
        grid->addWidget(displayAll, 1, i * 2, 1, 2);
        connect(displayAll, &QPushButton::clicked, this, [this, i] { showTable(i + 1); });
    }
    grid->addWidget(new QLabel(QStringLiteral("Name:"), this), 2, 0);
    text2_ = new QLineEdit(this);
    text2_->setObjectName(QStringLiteral("Text2"));
    text2_->setMaxLength(8);
    grid->addWidget(text2_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("AliasList:"), this), 2, 2);
    text3_ = new QLineEdit(this);
    text3_->setObjectName(QStringLiteral("Text3"));
    text3_->setMaxLength(60);
    grid->addWidget(text3_, 2, 3);

    QPushButton* add = button("cmdAddPlayer1", "Add Player");
    QPushButton* remove = button("cmdRemovePlayers1", "Remove All Players");
    QPushButton* rebuild = button("cmdRebuildPlayers", "Start Rebuild Players Array");
    QPushButton* finish = button("cmdFinishRebuild", "Finish Rebuilding Players Array");
    QPushButton* close = button("cmdClose", "Close");
    grid->addWidget(add, 3, 0, 1, 2);
    grid->addWidget(remove, 3, 2, 1, 2);
    grid->addWidget(rebuild, 4, 0, 1, 2);
    grid->addWidget(finish, 4, 2, 1, 2);
    grid->addWidget(close, 5, 3);

    connect(add, &QPushButton::clicked, this, [this, &sound] {
        if (!table_.addPlayer(bytesOf(text2_->text()), bytesOf(text3_->text())))
            sound.beep(); // the table is full
        showTable(1);
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        table_.clearPlayers();
        showTable(1);
    });
    connect(rebuild, &QPushButton::clicked, this, [this] {
        table_.backupAndClearPlayers();
        showTable(1);
        showTable(2);
    });
    connect(finish, &QPushButton::clicked, this, [this] {
        table_.carryOverAliasLists();
        showTable(1);
        showTable(2);
    });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    showTable(1);
    showTable(2);
    resize(720, 480);
}

void ArrayViewer::showTable(int which) {
    boxes_[which - 1]->setPlainText(qs(table_.showPlayerTable(which)));
}

} // namespace hh
