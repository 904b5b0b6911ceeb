#include "app/ClinicPanel.h"

#include "app/PanelControls.h"
#include "store/DataSource.h"
#include "widgets/FieldBinding.h"

#include <QFrame>
#include <QLineEdit>

ClinicPanel::ClinicPanel(QFrame *frame, DataSource *settings, SkinLabel *clinicName, std::function<bool()> saveSettings)
    : QObject(frame), m_frame(frame), m_settings(settings), m_saveSettings(std::move(saveSettings)) {
    SkinLabel4 = addLabel(frame, "SkinLabel4", 5580, 420, 435, 285);
    SkinLabel4->setCaption(QStringLiteral(" :نام"));
    SkinLabel5 = addLabel(frame, "SkinLabel5", 5460, 1140, 555, 285);
    SkinLabel5->setCaption(QStringLiteral(" :آدرس"));

    Text2 = new QLineEdit(frame);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(twipsRect(120, 300, 5355, 615));
    Text2->setAlignment(Qt::AlignCenter);
    Text14 = new QLineEdit(frame);
    Text14->setObjectName(QStringLiteral("Text14"));
    Text14->setGeometry(twipsRect(120, 1020, 5355, 615));
    Text14->setAlignment(Qt::AlignCenter);
    SkinLabel4->setBuddy(Text2);
    SkinLabel5->setBuddy(Text14);

    Command64 = addButton(frame, "Command64", QStringLiteral("ذخيره "), 3180, 1680, 855, 495);
    Command7 = addButton(frame, "Command7", QStringLiteral("انصراف"), 2100, 1680, 855, 495);
    connect(Command64, &QPushButton::clicked, this, &ClinicPanel::save);
    connect(Command7, &QPushButton::clicked, this, &ClinicPanel::cancel);

    // From here on the label follows the box, which the binding fills with the name field now.
    FieldBinding::unbind(clinicName);
    connect(Text2, &QLineEdit::textChanged, clinicName, &SkinLabel::setCaption);
    FieldBinding::bind(Text2, settings, QStringLiteral("Name"));
    FieldBinding::bind(Text14, settings, QStringLiteral("Adress"));
}

void ClinicPanel::save() {
    if (!m_saveSettings())
        return;
    m_settings->refresh();
    m_settings->refresh();
    m_frame->hide();
}

void ClinicPanel::cancel() { m_frame->hide(); }
