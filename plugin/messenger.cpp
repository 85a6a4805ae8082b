#include "plugin/messenger.h"

#include "host/game.h"
#include "plugin/library_path.h"

namespace kestrova {

void SendToPlayer(APlayerController* player, Colour colour, const std::string& text)
{
    const FString pluginPath{WideView(PluginLibraryPath())};
    const std::shared_ptr<PluginMessenger> messenger = AsaApi::GetApiUtils().GetPluginMessenger(pluginPath);
    messenger->SendPlayerMessage(AsShooterController(player), colour.r, colour.g, colour.b, colour.a,
                                 FString(text.c_str()));
}

}  // namespace kestrova
