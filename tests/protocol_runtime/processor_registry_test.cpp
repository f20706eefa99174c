#include "protocol/processor_registry.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "protocol/packet_header.h"

namespace {

struct RecordingLog : tekna::Logger {
    std::vector<std::string> lines;
    void write(const std::string& line) override { lines.push_back(line); }
};

struct RecordingMessages : tekna::MessageBoxPort {
    struct Shown {
        std::string text;
        tekna::MessageCaption caption;
        tekna::MessageIcon icon;
    };
    std::vector<Shown> shown;
    void showMessage(std::string_view text, tekna::MessageCaption caption,
                     tekna::MessageIcon icon) override {
        shown.push_back({std::string(text), caption, icon});
    }
};

// What a processor sees of the connection; the chat client supplies its own.
struct FakeConnection {
    std::vector<uint16_t> handled;
};

using Registry = ProcessorRegistry<FakeConnection>;

enum class Behaviour { Keep, End, ThrowStandard, ThrowOther };

class FakeProcessor : public Registry::Processor {
  public:
    explicit FakeProcessor(Behaviour behaviour) : behaviour_(behaviour) {}
    bool process(FakeConnection& connection, std::span<const uint8_t> packet) override {
        connection.handled.push_back(PacketHeader::read(packet.data()).command);
        switch (behaviour_) {
            case Behaviour::Keep:
                return true;
            case Behaviour::End:
                return false;
            case Behaviour::ThrowStandard:
                throw std::runtime_error("没有这个房间");
            case Behaviour::ThrowOther:
                throw 42;
        }
        return true;
    }

  private:
    Behaviour behaviour_;
};

class ProcessorRegistryTest : public ::testing::Test {
  protected:
    ProcessorRegistryTest() : registry_(makeProcessors(), messages_) { registry_.setLog(&log_); }

    static Registry::ProcessorMap makeProcessors() {
        Registry::ProcessorMap processors;
        processors.emplace(1, std::make_unique<FakeProcessor>(Behaviour::Keep));
        processors.emplace(20, std::make_unique<FakeProcessor>(Behaviour::End));
        processors.emplace(9, std::make_unique<FakeProcessor>(Behaviour::ThrowStandard));
        processors.emplace(0xFFFF, std::make_unique<FakeProcessor>(Behaviour::ThrowOther));
        return processors;
    }

    bool dispatch(uint16_t command, size_t bodySize = 0) {
        const auto packet = makePacket(command, bodySize);
        return registry_.dispatch(connection_, packet);
    }

    RecordingLog log_;
    RecordingMessages messages_;
    FakeConnection connection_;
    Registry registry_;
};

TEST_F(ProcessorRegistryTest, ReturnsTheVerdictOfTheProcessorForItsCommand) {
    EXPECT_TRUE(dispatch(1, 8));
    EXPECT_FALSE(dispatch(20));
    EXPECT_EQ(connection_.handled, (std::vector<uint16_t>{1, 20}));
    EXPECT_TRUE(log_.lines.empty());
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ProcessorRegistryTest, UnknownCommandIsLoggedAndKeepsTheConnection) {
    EXPECT_TRUE(dispatch(999));
    ASSERT_EQ(log_.lines.size(), 1u);
    EXPECT_NE(log_.lines[0].find("\t未知数据包：#999\r\n"), std::string::npos);
    EXPECT_TRUE(connection_.handled.empty());

    EXPECT_TRUE(dispatch(1));  // the next packet is still handled
    EXPECT_EQ(connection_.handled, (std::vector<uint16_t>{1}));
}

TEST_F(ProcessorRegistryTest, StandardExceptionIsShownLoggedAndCountsAsHandled) {
    EXPECT_TRUE(dispatch(9));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "没有这个房间");
    EXPECT_EQ(messages_.shown[0].caption, tekna::MessageCaption::Error);
    EXPECT_EQ(messages_.shown[0].icon, tekna::MessageIcon::Error);
    ASSERT_EQ(log_.lines.size(), 1u);
    EXPECT_NE(log_.lines[0].find("\t没有这个房间\r\n"), std::string::npos);
}

TEST_F(ProcessorRegistryTest, OtherExceptionsPassThrough) {
    EXPECT_THROW(dispatch(0xFFFF), int);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ProcessorRegistryTest, PacketShorterThanItsHeaderReachesNoProcessor) {
    const std::vector<uint8_t> packet{24, 0, 0, 0, 1, 0};
    EXPECT_TRUE(registry_.dispatch(connection_, packet));
    EXPECT_TRUE(connection_.handled.empty());
    EXPECT_EQ(log_.lines.size(), 1u);
}

TEST_F(ProcessorRegistryTest, WorksWithoutALog) {
    registry_.setLog(nullptr);
    EXPECT_TRUE(dispatch(999));
    EXPECT_TRUE(dispatch(9));
    EXPECT_EQ(messages_.shown.size(), 1u);
}

}  // namespace
