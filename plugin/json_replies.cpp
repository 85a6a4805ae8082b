#include "plugin/json_replies.h"

#include "host/json_text.h"

namespace kestrova {

void WriteJson(JsonText& json, const std::optional<ReplyTarget>& target)
{
    if (!target) {
        json.Null();
        return;
    }
    json.Open().Key("id").String(target->id).Key("name");
    if (target->name)
        json.String(*target->name);
    else
        json.Null();
    json.Close();
}

std::string SpawnReply(std::string_view command, const std::optional<ReplyTarget>& target, const Outcome& outcome)
{
    JsonText json;
    json.Open().Key("command").String(command).Key("outcome");
    WriteJson(json, outcome);
    json.Key("target");
    WriteJson(json, target);
    json.Key("v").Int(kReplyVersion).Close();
    return json.Take();
}

std::string ReloadReply(bool reloaded, std::string_view error)
{
    JsonText json;
    json.Open().Key("command").String("Kestrova.Reload");
    if (!reloaded)
        json.Key("error").String(error);
    json.Key("reloaded").Bool(reloaded).Key("v").Int(kReplyVersion).Close();
    return json.Take();
}

}  // namespace kestrova
