// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SchedulerShard.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{
using CVariables = std::map<std::string, std::string>;

CSchedulerShard::CResult Find(const CVariables& variables, std::optional<int> count = {})
{
    return CSchedulerShard::Find(
        [&](const std::string& name) -> std::optional<std::string>
        {
            auto it = variables.find(name);
            return it == variables.end() ? std::nullopt : std::optional(it->second);
        },
        count);
}

// The part, as "K/N", or the first words of the reason there is none.
std::string PartOf(const CVariables& variables, std::optional<int> count = {})
{
    CSchedulerShard::CResult found = Find(variables, count);
    if (!found.shard)
        return "error";
    for (int n = 1; n <= 64; ++n)
    {
        for (int k = 1; k <= n; ++k)
        {
            // Parts are told apart by what they take: compare with a part
            // made directly over many paths.
            bool same = true;
            for (int i = 0; i < 200 && same; ++i)
            {
                std::string path = "/p/" + std::to_string(i);
                same = found.shard->Takes(path) == CShard(k, n).Takes(path);
            }
            if (same)
                return std::to_string(k) + "/" + std::to_string(n);
        }
    }
    return "?";
}

struct CCase
{
    const char* name;
    CVariables variables;
    std::optional<int> count;
    const char* part;
};
} // namespace

TEST(SchedulerShard, EachSchedulersVariablesGiveItsPart)
{
    const std::vector<CCase> cases = {
        {"slurm from 0",
         {{"SLURM_ARRAY_TASK_ID", "2"},
          {"SLURM_ARRAY_TASK_MIN", "0"},
          {"SLURM_ARRAY_TASK_COUNT", "3"}},
         {},
         "3/3"},
        // --array=5-13:4 runs tasks 5, 9 and 13.
        {"slurm above 0 with a step",
         {{"SLURM_ARRAY_TASK_ID", "9"},
          {"SLURM_ARRAY_TASK_MIN", "5"},
          {"SLURM_ARRAY_TASK_COUNT", "3"},
          {"SLURM_ARRAY_TASK_STEP", "4"}},
         {},
         "2/3"},
        {"slurm off its steps",
         {{"SLURM_ARRAY_TASK_ID", "8"},
          {"SLURM_ARRAY_TASK_MIN", "5"},
          {"SLURM_ARRAY_TASK_COUNT", "3"},
          {"SLURM_ARRAY_TASK_STEP", "4"}},
         {},
         "error"},
        {"slurm past its count",
         {{"SLURM_ARRAY_TASK_ID", "3"},
          {"SLURM_ARRAY_TASK_MIN", "0"},
          {"SLURM_ARRAY_TASK_COUNT", "3"}},
         {},
         "error"},
        {"slurm without its minimum",
         {{"SLURM_ARRAY_TASK_ID", "3"}, {"SLURM_ARRAY_TASK_COUNT", "4"}},
         {},
         "error"},
        {"kubernetes", {{"JOB_COMPLETION_INDEX", "0"}}, 4, "1/4"},
        {"kubernetes without a count", {{"JOB_COMPLETION_INDEX", "0"}}, {}, "error"},
        {"aws batch",
         {{"AWS_BATCH_JOB_ARRAY_INDEX", "4"}, {"AWS_BATCH_JOB_ARRAY_SIZE", "5"}},
         {},
         "5/5"},
        {"aws batch not a number",
         {{"AWS_BATCH_JOB_ARRAY_INDEX", "x"}, {"AWS_BATCH_JOB_ARRAY_SIZE", "5"}},
         {},
         "error"},
        {"cloud run", {{"CLOUD_RUN_TASK_INDEX", "1"}, {"CLOUD_RUN_TASK_COUNT", "2"}}, {}, "2/2"},
        {"cloud run against --shard-count",
         {{"CLOUD_RUN_TASK_INDEX", "1"}, {"CLOUD_RUN_TASK_COUNT", "2"}},
         3,
         "error"},
        {"two that agree",
         {{"CLOUD_RUN_TASK_INDEX", "1"},
          {"CLOUD_RUN_TASK_COUNT", "2"},
          {"JOB_COMPLETION_INDEX", "1"}},
         2,
         "2/2"},
        {"two that disagree",
         {{"CLOUD_RUN_TASK_INDEX", "1"},
          {"CLOUD_RUN_TASK_COUNT", "2"},
          {"AWS_BATCH_JOB_ARRAY_INDEX", "0"},
          {"AWS_BATCH_JOB_ARRAY_SIZE", "2"}},
         {},
         "error"},
        {"none", {{"SLURM_JOB_ID", "7"}}, {}, "error"},
    };
    for (const CCase& test : cases)
        EXPECT_EQ(PartOf(test.variables, test.count), test.part) << test.name;
}

TEST(SchedulerShard, NoneFound_SaysWhatWasLookedFor)
{
    std::string error = Find({}).strError;
    for (const char* name : {"SLURM_ARRAY_TASK_ID", "JOB_COMPLETION_INDEX",
                             "AWS_BATCH_JOB_ARRAY_INDEX", "CLOUD_RUN_TASK_INDEX"})
        EXPECT_NE(error.find(name), std::string::npos) << name;
}

// Three tasks of --array=10-14:2 (10, 12, 14) take every path exactly once.
TEST(SchedulerShard, TasksOfASlurmArrayCoverEveryFileOnce)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 300; ++i)
        paths.push_back("/scans/" + std::to_string(i % 7) + "/page " + std::to_string(i) + ".pdf");
    std::map<std::string, int> takers;
    for (int task : {10, 12, 14})
    {
        CSchedulerShard::CResult found = Find({{"SLURM_ARRAY_TASK_ID", std::to_string(task)},
                                               {"SLURM_ARRAY_TASK_MIN", "10"},
                                               {"SLURM_ARRAY_TASK_MAX", "14"},
                                               {"SLURM_ARRAY_TASK_STEP", "2"},
                                               {"SLURM_ARRAY_TASK_COUNT", "3"}});
        ASSERT_TRUE(found.shard) << found.strError;
        for (const std::string& path : paths)
            takers[path] += found.shard->Takes(path) ? 1 : 0;
    }
    for (const std::string& path : paths)
        EXPECT_EQ(takers[path], 1) << path;
}
