#include "startup/check_client.h"

#include "client/text.h"

namespace quelvane {

bool banner_seen(std::string_view previous, std::string_view chunk)
{
    std::string combined;
    combined.reserve(previous.size() + chunk.size());
    combined.append(previous).append(chunk);
    return contains(trim(combined), "ffmpeg version");
}

Outcome check_tool(const std::string &program, const MessagePump &pump)
{
    std::string previous;
    RunChoices choices;
    choices.code_base = 0;
    choices.start_action = [&] { previous.clear(); };
    choices.normal_end = [](const platform::ChildExit &) { return Outcome::no(); };
    choices.pump = pump;

    const ChunkHandler handler = [&](std::string_view chunk) -> std::optional<Outcome> {
        if (banner_seen(previous, chunk))
            return Outcome::yes();
        previous.assign(chunk);
        return std::nullopt;
    };
    return run_tool(program, ToolArguments{}, handler, choices);
}

} // namespace quelvane
