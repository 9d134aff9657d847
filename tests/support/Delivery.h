// What a chat room's input box receives for one delivered line, in order: its text emptied three times,
// then the line, then Enter (the character 13). Every test that checks a delivery compares with this.
#pragma once

#include <string>
#include <utility>
#include <vector>

// (kind, payload) of each message: "settext" with the text set, "char" with the character's code.
inline std::vector<std::pair<std::string, std::string>> DeliveryMessages(const std::string& line) {
    return {{"settext", ""}, {"settext", ""}, {"settext", ""}, {"settext", line}, {"char", "13"}};
}
