#pragma once
// The whole command catalogue: every command of the chat protocol in both directions.
#include "protocol/commands/admin_limit_commands.h"
#include "protocol/commands/admin_notice_commands.h"
#include "protocol/commands/admin_role_commands.h"
#include "protocol/commands/admin_room_commands.h"
#include "protocol/commands/chat_commands.h"
#include "protocol/commands/connection_commands.h"
#include "protocol/commands/room_commands.h"
#include "protocol/commands/vip_commands.h"
