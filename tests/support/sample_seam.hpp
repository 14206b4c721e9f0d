// Sets the seam between a sampled file's two chunks for one test and clears
// it when dropped. Build it before the scan or hash it serves starts.
#pragma once

#include "hash.hpp"

#include <utility>

namespace quelmaris::testing {

class SampleSeam {
public:
  explicit SampleSeam(hash::detail::BetweenSampleChunks hook) {
    hash::detail::set_between_sample_chunks(std::move(hook));
  }
  ~SampleSeam() { hash::detail::set_between_sample_chunks({}); }
  SampleSeam(const SampleSeam&) = delete;
  SampleSeam& operator=(const SampleSeam&) = delete;
};

}  // namespace quelmaris::testing
