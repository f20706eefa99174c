// Reading and building the packets that arrive most often or carry the most records.
#include <benchmark/benchmark.h>

#include <vector>

#include "protocol/commands/commands.h"

namespace {

using namespace chat;

std::vector<uint8_t> chatPacket(size_t sectionBytes) {
    cmd::ChatMessage chat;
    chat.roomId = 7;
    chat.speakerId = 9;
    chat.nickname = u"Nickname";
    chat.sections.assign(sectionBytes, 0x41);
    return buildPacket(chat);
}

void BM_ReadChatMessage(benchmark::State& state) {
    const auto packet = chatPacket(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        auto chat = readPacket<cmd::ChatMessage>(packet);
        benchmark::DoNotOptimize(chat);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * packet.size()));
}
BENCHMARK(BM_ReadChatMessage)->Arg(64)->Arg(4096);

void BM_BuildChatMessage(benchmark::State& state) {
    cmd::ChatMessage chat;
    chat.nickname = u"Nickname";
    chat.sections.assign(64, 0x41);
    for (auto _ : state) {
        auto packet = buildPacket(chat);
        benchmark::DoNotOptimize(packet);
    }
}
BENCHMARK(BM_BuildChatMessage);

void BM_ReadRoomChatterList(benchmark::State& state) {
    cmd::RoomChatterList list;
    list.roomId = 7;
    ChatterRecord chatter;
    chatter.account = "account";
    chatter.nickname = u"nickname";
    list.chatters.assign(static_cast<size_t>(state.range(0)), chatter);
    const auto packet = buildPacket(list);
    for (auto _ : state) {
        auto read = readPacket<cmd::RoomChatterList>(packet);
        benchmark::DoNotOptimize(read);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadRoomChatterList)->Arg(500);

void BM_ReadRoomList(benchmark::State& state) {
    cmd::RoomList list;
    for (uint32_t id = 2; id < 2 + static_cast<uint32_t>(state.range(0)); ++id) {
        list.rooms[id].roomId = id;
        list.rooms[id].name = u"Room";
    }
    const auto packet = buildPacket(list);
    for (auto _ : state) {
        auto read = readPacket<cmd::RoomList>(packet);
        benchmark::DoNotOptimize(read);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadRoomList)->Arg(100);

}  // namespace
