#pragma once
// frmArrayViewer: the developer's view of the player table, current list
// and previous list, with the table's operations as buttons.
#include <QDialog>

class QLineEdit;
class QTextEdit;

namespace hh {

class PlayerTable;
class SoundPlayer;

class ArrayViewer : public QDialog {
  public:
    ArrayViewer(PlayerTable& table, SoundPlayer& sound, QWidget* parent = nullptr);

  private:
    void showTable(int which);

    PlayerTable& table_;
    QTextEdit* boxes_[2] = {};
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
};

} // namespace hh
