// The texts of the instructions panel: the eight topics, the pointer picture of each topic and
// the preliminary note. Line breaks are carriage returns (code 13); trailing blanks are part of
// the texts.
#pragma once

#include <QString>

namespace cvx::instructions {

inline constexpr int kTopicCount = 8;

// Text of topic 0..7 as the topic label shows it; an empty text outside that range.
[[nodiscard]] QString topicText(int topic);

// Index 0..5 of the pointer picture shown beside topic 0..7, or -1 when the topic has none.
[[nodiscard]] int topicPicture(int topic);

// The preliminary note on books, pages and sheets.
[[nodiscard]] QString preliminaryNote();

} // namespace cvx::instructions
