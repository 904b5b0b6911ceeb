#include "scoring/ReportLayout.h"

#include "common/Hosts.h"

#include <QStringList>

namespace {

ReportFont nazanin(double pointSize) { return {QStringLiteral("B Nazanin"), pointSize, true, false}; }

ReportLabel label(const char *name, int left, int top, int width, int height, Qt::Alignment alignment,
                  const QString &caption = {}, ReportLabel::Filling filling = ReportLabel::Filling::Fixed) {
    ReportLabel made;
    made.name = QString::fromLatin1(name);
    made.left = left;
    made.top = top;
    made.width = width;
    made.height = height;
    made.alignment = alignment;
    made.font = nazanin(8.25);
    made.caption = caption;
    made.filling = filling;
    return made;
}

ReportLabel rowValue(const char *name, int left, int top, int width, int height) {
    return label(name, left, top, width, height, Qt::AlignRight, {}, ReportLabel::Filling::Row);
}

// The letterhead, the title, the examinee's details and the clinic's address with the vendor's
// contact lines.
QList<ReportLabel> headAndFootLabels() {
    QList<ReportLabel> labels{
        label("Label9", 655, 63, 6335, 510, Qt::AlignHCenter, {}, ReportLabel::Filling::Clinic),
        label("Label3", 655, 524, 6330, 510, Qt::AlignHCenter, QStringLiteral(" گزارش نتيجه تست سبک هاي دفاعي Kelto")),
        label("Label4", 6442, 1242, 377, 309, Qt::AlignHCenter, QStringLiteral("نام: ")),
        rowValue("Label5", 5618, 1237, 801, 315),
        label("Label1", 4742, 1236, 900, 255, Qt::AlignHCenter, QStringLiteral("نام خانوادگي:")),
        rowValue("Label10", 3659, 1237, 1076, 270),
        label("Label7", 3196, 1237, 414, 203, Qt::AlignHCenter, QStringLiteral("سن:")),
        rowValue("Label11", 2733, 1237, 437, 218),
        label("Label2", 2260, 1237, 414, 203, Qt::AlignHCenter, QStringLiteral("جنس:")),
        rowValue("Label17", 1797, 1237, 437, 218),
        label("Label18", 1324, 1237, 414, 203, Qt::AlignHCenter, QStringLiteral("تاهل:")),
        rowValue("Label19", 757, 1237, 541, 218),
        label("Label20", 6420, 1601, 414, 203, Qt::AlignHCenter, QStringLiteral("گروه:")),
        rowValue("Label21", 5957, 1601, 437, 218),
        label("Label6", 4896, 1598, 1046, 255, Qt::AlignHCenter, QStringLiteral("ميزان تحصيلات:")),
        rowValue("Label12", 3659, 1598, 1230, 255),
        label("Label8", 3144, 1598, 480, 255, Qt::AlignHCenter, QStringLiteral("تاريخ:")),
        rowValue("Label13", 2319, 1598, 825, 255),
        label("Label42", 1035, 2011, 5775, 255, Qt::AlignHCenter, QStringLiteral("سبک هاي دفاعي رشد نايافته")),
        label("Label49", 1031, 3571, 5775, 255, Qt::AlignHCenter, QStringLiteral("سبک هاي دفاعي رشدايافته")),
        label("Label60", 1031, 4559, 5775, 255, Qt::AlignHCenter, QStringLiteral("سبک هاي دفاعي روان آزرده")),
        label("Label15", 6367, 7598, 555, 375, Qt::AlignRight, QStringLiteral(":آدرس")),
        label("Label14", 1047, 7593, 5325, 375, Qt::AlignRight, {}, ReportLabel::Filling::Clinic),
        label("Label16", 1101, 7971, 2556, 145, Qt::AlignLeft, QStringLiteral("E-mail: ") + Hosts::contactEmail()),
        label("Label71", 3974, 8452, 1718, 254, Qt::AlignLeft, Hosts::contactWeb()),
    };
    return labels;
}

// One score: its caption and, under it with the same left and width, the value label.
struct ScoreColumn {
    const char *captionLabel;
    const char *valueLabel;
    int left;
    int width;
    const char *caption;
    int captionHeight = 0; // 0: the block's height
    int valueHeight = 0;
};

struct ScoreBlock {
    int captionTop;
    int valueTop;
    int captionHeight;
    int valueHeight;
    QList<ScoreColumn> columns;
};

// The 20 mechanism scores and the three style totals, right to left in four rows.
QList<ScoreBlock> scoreBlocks() {
    return {
        {2269,
         2529,
         262,
         262,
         {{"Label22", "Label29", 6030, 784, "دليل تراشي"},
          {"Label23", "Label30", 5250, 764, "فرافکني"},
          {"Label24", "Label31", 4470, 764, "انکار"},
          {"Label25", "Label32", 3556, 900, "همه کار تواني"},
          {"Label26", "Label33", 2577, 961, "ناارزنده سازي"},
          {"Label27", "Label34", 1804, 760, "گذر به عمل", 255},
          {"Label28", "Label35", 1038, 784, "بدني سازي"}}},
        {2836,
         3101,
         255,
         270,
         {{"Label36", "Label43", 5464, 1345, "خيالپردازي اوتيستيک"},
          {"Label37", "Label44", 4678, 775, "لايه سازي"},
          {"Label38", "Label45", 3452, 1215, "پرخاشگري منفعلانه"},
          {"Label39", "Label46", 2675, 755, "جابجايي"},
          {"Label40", "Label47", 1798, 865, "مجزا سازي"},
          {"Label41", "Label48", 1038, 770, "نمره کل", 0, 255}}},
        {3839,
         4120,
         255,
         255,
         {{"Label50", "Label55", 5464, 1345, "فرونشاني"},
          {"Label51", "Label56", 4678, 775, "والايش"},
          {"Label52", "Label57", 3452, 1215, "شوخ طبعي"},
          {"Label53", "Label58", 1875, 1562, "پيشاپيش نگري"},
          {"Label54", "Label59", 1031, 855, "نمره کل"}}},
        {4817,
         5095,
         255,
         255,
         {{"Label61", "Label66", 5464, 1345, "ديگردوستي کاذب"},
          {"Label62", "Label67", 4245, 1233, "تشکل واکنشي"},
          {"Label63", "Label68", 2724, 1533, "عقلاني سازي"},
          {"Label64", "Label69", 1875, 842, "ابطال"},
          {"Label65", "Label70", 1031, 855, "نمره کل"}}},
    };
}

QList<ReportLabel> scoreLabels() {
    QList<ReportLabel> labels;
    for (const ScoreBlock &block : scoreBlocks()) {
        for (const ScoreColumn &column : block.columns) {
            labels << label(column.captionLabel, column.left, block.captionTop, column.width,
                            column.captionHeight ? column.captionHeight : block.captionHeight, Qt::AlignHCenter,
                            QString::fromUtf8(column.caption));
            labels << label(column.valueLabel, column.left, block.valueTop, column.width,
                            column.valueHeight ? column.valueHeight : block.valueHeight, Qt::AlignHCenter, {},
                            ReportLabel::Filling::Row);
        }
    }
    return labels;
}

void setFonts(ReportSection &detail) {
    detail.label(QStringLiteral("Label3"))->font = nazanin(12);
    detail.label(QStringLiteral("Label9"))->font = {QStringLiteral("B Titr"), 14.25, true, false};
    for (const char *address : {"Label14", "Label15"})
        detail.label(QString::fromLatin1(address))->font = {QStringLiteral("B Mitra"), 9.75, true, false};
    for (const char *larger : {"Label42", "Label48", "Label59"})
        detail.label(QString::fromLatin1(larger))->font = nazanin(9);
    // The vendor's lines are Latin text, under the address near the sheet's border.
    detail.label(QStringLiteral("Label16"))->font = {QStringLiteral("Noto Sans"), 6.75, false, false};
    detail.label(QStringLiteral("Label71"))->font = {QStringLiteral("Noto Sans"), 8.25, false, true};
}

} // namespace

ReportLabel *ReportSection::label(const QString &labelName) {
    for (ReportLabel &each : labels)
        if (each.name == labelName)
            return &each;
    return nullptr;
}

const ReportLabel *ReportSection::label(const QString &labelName) const {
    return const_cast<ReportSection *>(this)->label(labelName);
}

ReportSection *ReportLayout::section(const QString &sectionName) {
    for (ReportSection &each : sections)
        if (each.name == sectionName)
            return &each;
    return nullptr;
}

const ReportSection *ReportLayout::section(const QString &sectionName) const {
    return const_cast<ReportLayout *>(this)->section(sectionName);
}

ReportLayout resultReportLayout() {
    ReportSection detail{detailSectionName(), 8792, {{0, 0, 7065, 8775}}, headAndFootLabels() + scoreLabels()};
    setFonts(detail);
    // The caption is kept with its colon first; laid out left to right the colon stands after
    // the word, where a reader of Persian looks for it.
    detail.label(QStringLiteral("Label15"))->direction = Qt::LeftToRight;

    ReportLayout layout;
    layout.width = 7080;
    layout.font = {QStringLiteral("Arial"), 8.25, false, false};
    layout.sections = {{QStringLiteral("ReportHeader")},
                       {QStringLiteral("PageHeader")},
                       detail,
                       {QStringLiteral("PageFooter")},
                       {QStringLiteral("ReportFooter")}};
    return layout;
}
