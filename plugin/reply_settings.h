// How the plugin answers whoever issued a spawn command: the settings an admin
// opts into, read afresh at each use so a reload switches them live.
#pragma once

namespace kestrova {

enum class RconReplies {
    Text,  // the fixed reply texts
    Json,  // one line of JSON saying what the command did
};

// "RconReplies": "text" (the default) or "json".
RconReplies RconRepliesSetting() noexcept;

// "ConsoleFeedback": false (the default) or true: a console spawn command that
// does not simply deliver tells the issuing player why.
bool ConsoleFeedbackSetting() noexcept;

}  // namespace kestrova
