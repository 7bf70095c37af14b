#include "shell/qt/AboutBox.h"

#include "platform/Shell.h"
#include "shell/ViewTexts.h"
#include "shell/qt/QtText.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace hh {

AboutBox::AboutBox(Shell& shell, const std::filesystem::path& programDir, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(qs(aboutCaption()));
    auto* grid = new QGridLayout(this);
    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    auto* picture = label("Picture1", {});
    const QPixmap icon(qpath((programDir / "Icons" / "Handlehound_Enabled.png").string()));
    if (!icon.isNull()) // a missing icon file shows nothing
        picture->setPixmap(icon.scaled(48, 48));
    grid->addWidget(picture, 0, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(label("lblTitle", qs(aboutCaption())), 0, 1, 1, 2);
    grid->addWidget(label("lblVersion", qs(aboutVersion())), 1, 1, 1, 2);
    grid->addWidget(label("lblDescription", QString::fromLatin1(texts::kAuthorLine)), 2, 1, 1, 2);
    grid->addWidget(label("lblDescription2", QString::fromLatin1(texts::kReleaseLine)), 3, 1, 1, 2);
    grid->addWidget(label("Label1", QString::fromLatin1(texts::kContactInformation)), 4, 1, 1, 2);
    int row = 5;
    for (const auto& l : texts::kAboutLinks) {
        grid->addWidget(label(l.captionName, QString::fromLatin1(l.caption)), row, 1);
        auto* link =
            label(l.linkName, QStringLiteral("<a href=\"%1\">%2</a>")
                                  .arg(QString::fromLatin1(l.url), QString::fromLatin1(l.shown)));
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        const std::string url = l.url;
        connect(link, &QLabel::linkActivated, this, [&shell, url] { shell.openUrl(url); });
        grid->addWidget(link, row, 2);
        ++row;
    }
    auto* ok = new QPushButton(QString::fromLatin1(texts::kOK), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(ok, row, 2, Qt::AlignRight);
}

} // namespace hh
