// The four plain operations of the call interface.
#include "arguments.hpp"
#include "call_status.hpp"
#include "defaults.hpp"
#include "keep.hpp"
#include "trash.hpp"

using namespace quelmaris;
using namespace quelmaris::ffi;

extern "C" {

CoreBuffer quelmaris_ffi_default_scan_config(CoreCallStatus* status) {
  return guarded(status, [] { return lower(default_scan_config()); });
}

CoreBuffer quelmaris_ffi_check_identity(CoreBuffer file, CoreCallStatus* status) {
  return guarded(status, [&] {
    const BufferArg file_arg(file);
    return lower(check_identity(lift_arg<FileEntry>(file_arg, "file")));
  });
}

uint32_t quelmaris_ffi_choose_keeper(CoreBuffer files, CoreBuffer rule, CoreCallStatus* status) {
  return guarded(status, [&] {
    const BufferArg files_arg(files);
    const BufferArg rule_arg(rule);
    const auto entries = lift_arg<std::vector<FileEntry>>(files_arg, "files");
    // No file, no choice to make: the answer is 0 whatever the rule.
    if (entries.empty()) return std::uint32_t{0};
    return choose_keeper(entries, lift_arg<KeepRule>(rule_arg, "rule"));
  });
}

CoreBuffer quelmaris_ffi_plan_trash(CoreBuffer sets, int8_t allow_unverified, CoreCallStatus* status) {
  return guarded(status, [&] {
    const BufferArg sets_arg(sets);
    const auto plan_sets = lift_arg<std::vector<PlanSet>>(sets_arg, "sets");
    const auto plan = plan_trash(plan_sets, lift_flag(allow_unverified, "allow_unverified"));
    if (!plan) {
      report_declared_error(status, lower(plan.error()));
      return CoreBuffer{0, 0, nullptr};
    }
    return lower(plan.value());
  });
}

}  // extern "C"
