#include "app/AssistantStageStrip.h"

#include <QGridLayout>
#include <QLabel>

#include "app/AssistantArt.h"
#include "platform/gui/localized_text.h"

namespace ch {

namespace {

// The pages of the accounts (4 to 8) and of the categories (10 to 12).
bool indented(int stage)
{
    return (stage >= 4 && stage <= 8) || (stage >= 10 && stage <= 12);
}

} // namespace

AssistantStageStrip::AssistantStageStrip(QWidget* parent) : QWidget(parent)
{
    setObjectName("stageStrip");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 12, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(5);
    for (int i = 0; i < kStages; ++i) {
        const int stage = i + 1;
        mDots[i] = new QLabel;
        mDots[i]->setObjectName(QStringLiteral("stageDot%1").arg(stage));
        mDots[i]->setFixedSize(16, 16);
        mLabels[i] = new QLabel(localizedText("ASSISTANTSTAGE" + std::to_string(stage)));
        mLabels[i]->setObjectName(QStringLiteral("stageLabel%1").arg(stage));
        if (indented(stage)) mLabels[i]->setIndent(14);
        grid->addWidget(mDots[i], i, 0);
        grid->addWidget(mLabels[i], i, 1);
    }
    grid->setRowStretch(kStages, 1);
    show(1, 1);
}

void AssistantStageStrip::show(int reached, int current)
{
    for (int i = 0; i < kStages; ++i) {
        const int stage = i + 1;
        const bool isReached = stage <= reached;
        const bool isCurrent = stage == current;
        mDots[i]->setPixmap(assistantStageDot(isCurrent   ? StageDot::Current
                                              : isReached ? StageDot::Reached
                                                          : StageDot::Ahead,
                                              16));
        QLabel* label = mLabels[i];
        label->setProperty("reached", isReached);
        label->setProperty("current", isCurrent);
        QFont font = label->font();
        font.setBold(isCurrent);
        label->setFont(font);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, isReached ? QColor(Qt::black) : QColor(150, 150, 155));
        label->setPalette(palette);
    }
}

} // namespace ch
