#pragma once
// The assistant's thirteen stages down the side of its window: a dot and a
// name each, blue and black once reached, the stage on show ringed and in
// bold. The pages of one kind (accounts, categories) are indented under the
// stage that introduces them.
//
// Children by name: "stageDot1".."stageDot13", "stageLabel1".."stageLabel13";
// each label carries the properties "reached" and "current".

#include <array>

#include <QWidget>

class QLabel;

namespace ch {

class AssistantStageStrip : public QWidget {
    Q_OBJECT

public:
    static constexpr int kStages = 13;

    explicit AssistantStageStrip(QWidget* parent = nullptr);

    // Stages 1 to `reached` are lit; `current` is the stage on show.
    void show(int reached, int current);

private:
    std::array<QLabel*, kStages> mDots{};
    std::array<QLabel*, kStages> mLabels{};
};

} // namespace ch
