#include "shell/qt/AboutBox.h"

#include "common/Version.h"
#include "platform/Shell.h"
#include "shell/qt/QtText.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace hh {

std::string aboutCaption() {
    return std::string(kCompanyName) + " - Handlehound";
}

std::string aboutVersion() {
    return "Version " + versionText();
}

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
    grid->addWidget(label("lblDescription", QStringLiteral("Written by the Handlehound team")), 2,
                    1, 1, 2);
    grid->addWidget(label("lblDescription2", QStringLiteral("Released December 2026")), 3, 1, 1, 2);
    grid->addWidget(label("Label1", QStringLiteral("Contact Information:")), 4, 1, 1, 2);
    const struct {
        const char* captionName;
        const char* caption;
        const char* linkName;
        const char* url;
        const char* shown;
    } links[] = {{"Label3", "- Bug Report:", "Label2", kBugReportUrl, kBugReportUrl},
                 {"Label4", "- Email:", "Label5", kEmailUrl, "bugs@handlehound.example"},
                 {"Label6", "- Website:", "Label7", kWebsiteUrl, kWebsiteUrl}};
    int row = 5;
    for (const auto& l : links) {
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
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(ok, row, 2, Qt::AlignRight);
}

} // namespace hh
