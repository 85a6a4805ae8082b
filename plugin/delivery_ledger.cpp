#include "plugin/delivery_ledger.h"

#include <chrono>
#include <filesystem>
#include <memory>

#include "config/config.h"
#include "host/game.h"
#include "host/json_text.h"
#include "host/members.h"
#include "host/text.h"
#include "ledger/ledger.h"
#include "ledger/utc_time.h"
#include "ledger/writer_thread.h"
#include "plugin/logger.h"
#include "plugin/settings.h"

namespace kestrova {
namespace {

struct OpenLedger {
    DeliveryLedgerSetting setting;
    std::unique_ptr<Ledger> ledger;
    std::string openError;  // why the named one is not open
};

OpenLedger& Holder()
{
    static OpenLedger open;
    return open;
}

std::string Utf8Of(const FString& text) { return ToUtf8(text.View()); }

}  // namespace

void SyncDeliveryLedger(LedgerSync when) noexcept
{
    OpenLedger& open = Holder();
    const DeliveryLedgerSetting wanted = DeliveryLedgerSettings();
    if (open.ledger && wanted == open.setting)
        return;
    CloseDeliveryLedger();
    open.setting = wanted;
    if (wanted.name.empty())
        return;
    try {
        LedgerSettings settings;
        settings.files.folder = std::filesystem::path(ConfigPath()).parent_path();
        settings.files.name = wanted.name;
        settings.files.maxBytes = wanted.maxBytes;
        settings.files.kept = wanted.files;
        settings.logger = PluginLogger();
        open.ledger = std::make_unique<Ledger>(std::move(settings));
        if (when == LedgerSync::AtReload || WriterThread::StartsDuringLoad())
            open.ledger->StartReading();
    } catch (const std::exception& e) {
        try {
            open.openError = e.what();
            if (const auto& logger = PluginLogger())
                logger->error("Delivery ledger {} not opened: {}", wanted.name, e.what());
        } catch (...) {
        }
    }
}

void CloseDeliveryLedger() noexcept
{
    OpenLedger& open = Holder();
    if (open.ledger)
        open.ledger->Stop();
    open.ledger.reset();
    open.setting = {};
    open.openError.clear();
}

Ledger* DeliveryLedger() noexcept { return Holder().ledger.get(); }

bool DeliveryLedgerNamed() noexcept { return !Holder().setting.name.empty(); }

std::string DeliveryLedgerClosedBecause()
{
    const OpenLedger& open = Holder();
    if (open.setting.name.empty())
        return "no delivery ledger is open";
    return "the delivery ledger " + open.setting.name + " is not open: " +
           (open.openError.empty() ? std::string("it could not be opened") : open.openError);
}

std::string IssuerJson(const Issuer& issuer)
{
    // Who issued a run is told as far as the game can tell it: a member it lacks
    // leaves that part null rather than the run unrecorded.
    JsonText json;
    const auto known = [&json](std::string_view key, const std::optional<std::string>& text) {
        json.Key(key);
        if (text)
            json.String(*text);
        else
            json.Null();
    };
    json.Open();
    if (issuer.connection != nullptr) {
        known("rcon", UnlessMissing([&] { return Utf8Of(FieldOf(member::PeerAddress, issuer.connection)); }));
    } else if (issuer.player == nullptr) {
        json.Key("console").Null();
    } else {
        AShooterPlayerController* player = AsShooterController(issuer.player);
        json.Key("console").Open();
        known("name", UnlessMissing([&] { return Utf8Of(Call(member::PlayerCharacterName, player)); }));
        known("netId", UnlessMissing([&] { return Utf8Of(Call(member::UniqueNetId, player)); }));
        json.Close();
    }
    return json.Close().Take();
}

void EndLedgerLine(JsonText& line, std::chrono::system_clock::time_point time)
{
    line.Key("time").String(UtcTimeText(time)).Key("v").Int(1).Close();
}

void RecordRun(const Issuer& issuer, std::string_view received, std::string_view command,
               const std::optional<ReplyTarget>& target, const Outcome& outcome) noexcept
{
    Ledger* ledger = DeliveryLedger();
    if (ledger == nullptr)
        return;
    try {
        // Only what needs the game is asked here; the writer's thread makes the line.
        ledger->Write([time = std::chrono::system_clock::now(), from = IssuerJson(issuer),
                       received = std::string(received), command = std::string(command), target, outcome] {
            JsonText line;
            line.Open().Key("command").String(command).Key("from").Raw(from).Key("line").String(received);
            line.Key("outcome");
            WriteJson(line, outcome);
            line.Key("target");
            WriteJson(line, target);
            EndLedgerLine(line, time);
            return line.Take();
        });
    } catch (const std::exception& e) {
        LogError(e.what());
    }
}

}  // namespace kestrova
