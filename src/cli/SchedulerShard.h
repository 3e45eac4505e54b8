// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Shard.h"

#include <functional>
#include <optional>
#include <string>

// The part of a split run that a cluster's scheduler gives a task of an
// array, from the variables it sets: Slurm arrays, Kubernetes indexed jobs,
// AWS Batch array jobs and Cloud Run jobs. Indexes become parts 1 to N, so
// that the tasks of one array cover every file exactly once.
class CSchedulerShard
{
public:
    // The value of an environment variable; nothing when it is not set.
    using FVariable = std::function<std::optional<std::string>(const std::string&)>;

    struct CResult
    {
        std::optional<CShard> shard;
        // Why no part can be told, worded for the person; empty with a part.
        std::string strError;
    };

    // `count` is --shard-count: the number of parts where the scheduler
    // gives none (Kubernetes), checked against the scheduler's elsewhere.
    static CResult Find(const FVariable& variable, std::optional<int> count);
};
