#pragma once
// The platform's main client publishes a little information for the customer-service programs in
// a named shared-memory block of 4094 bytes, guarded by a named lock that is "free" while it holds
// a count. The block starts with the used length (u32, counted from the start of the block, 4 when
// empty), followed by records: u32 length (with the 8-byte head), u32 type, data. We read only the
// customer-service user text (type 5) and never write records.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include <semaphore.h>

namespace chat {

// Finds the data of the first record of `type` in a block. The block comes from another process,
// so nothing in it is trusted: a used length beyond the block, a record shorter than its head or a
// record running past the used length stops the walk with no result.
std::optional<std::span<const std::uint8_t>> findShareInfoRecord(
    std::span<const std::uint8_t> block, std::uint32_t type);

class ShareInfoMapping {
  public:
    static constexpr const char* kDefaultName = "/MORVEX_CS_SHARE_INFO";
    static constexpr const char* kLockSuffix = "_event";
    static constexpr std::size_t kBlockSize = 4094;
    static constexpr std::uint32_t kEmptyUsedLength = 4;
    static constexpr std::uint32_t kUserTextRecord = 5;
    // A writer that crashed while holding the lock would otherwise block the reader for ever.
    static constexpr std::chrono::milliseconds kDefaultLockWait{5000};

    // Creates or opens the lock and the block; whoever creates the block fills it with zeros,
    // stores the empty used length and frees the lock. Throws std::runtime_error "Create Event
    // Fail", "Create FileMapping Fail" or "Get FileMapping Buff Fail".
    explicit ShareInfoMapping(std::string name = kDefaultName,
                              std::chrono::milliseconds lockWait = kDefaultLockWait);
    ~ShareInfoMapping();

    ShareInfoMapping(const ShareInfoMapping&) = delete;
    ShareInfoMapping& operator=(const ShareInfoMapping&) = delete;

    // The GBK text of the first type-5 record, up to its first zero byte; nothing when the block
    // holds no such record, is damaged, or its lock is not freed within the wait.
    std::optional<std::string> readUserText();

    // Removes the named block and its lock from the system (the platform's own job; used by tests).
    static void remove(const std::string& name);

  private:
    std::string name_;
    std::chrono::milliseconds lockWait_;
    sem_t* lock_ = SEM_FAILED;
    int fd_ = -1;
    void* block_ = nullptr;

    bool acquireLock();
    void releaseLock();
    void releaseResources();
};

}  // namespace chat
