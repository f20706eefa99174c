#pragma once
// The 39 processors of the chat client, one per server command, each a stateless object that
// reads its packet and hands the values to the chat client.
#include "protocol/processor_registry.h"

namespace chat {

class ChatClient;

// Every processor, created in the order of registration.
ProcessorRegistry<ChatClient>::ProcessorMap makeChatClientProcessors();

}  // namespace chat
