// SPDX-License-Identifier: GPL-3.0-or-later
#include "SchedulerShard.h"

#include "platform/MessageTable.h"

#include <charconv>
#include <string_view>
#include <vector>

namespace
{
// A part as one scheduler tells it, or why it cannot.
struct CFound
{
    std::string strScheduler;
    int nIndex = 0;
    int nCount = 0;
    std::string strError;
};

std::optional<long long> Number(const std::optional<std::string>& text)
{
    if (!text || text->empty())
        return std::nullopt;
    long long value = 0;
    auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size())
        return std::nullopt;
    return value;
}

class CLookup
{
public:
    CLookup(const CSchedulerShard::FVariable& variable, std::optional<int> count)
        : m_variable(variable), m_count(count)
    {
    }

    std::optional<std::string> Text(const std::string& name) const { return m_variable(name); }

    // A variable that must be a number of at least `low`; records what is
    // wrong with it.
    std::optional<long long> Need(CFound& found, const std::string& name, long long low) const
    {
        std::optional<std::string> text = Text(name);
        std::optional<long long> value = Number(text);
        if (!value || *value < low)
        {
            if (found.strError.empty())
                found.strError = CMessageTable::Format(EMessageId::ShardAutoBadVariable,
                                                       {name, text.value_or(std::string()), low});
            return std::nullopt;
        }
        return value;
    }

    // A zero-based index and the count of an array.
    void Indexed(std::vector<CFound>& all, const char* scheduler, const char* indexName,
                 const char* countName) const
    {
        if (!Text(indexName))
            return;
        CFound found;
        found.strScheduler = scheduler;
        std::optional<long long> index = Need(found, indexName, 0);
        std::optional<long long> count;
        if (countName)
            count = Need(found, countName, 1);
        else if (m_count)
            count = *m_count;
        else
            found.strError = CMessageTable::Format(EMessageId::ShardAutoNoCount, {indexName});
        Settle(found, index, count, indexName);
        all.push_back(found);
    }

    // Slurm numbers the tasks of an array from its lowest index on, by its
    // step: "--array=4-10:2" gives 4, 6, 8 and 10.
    void Slurm(std::vector<CFound>& all) const
    {
        if (!Text("SLURM_ARRAY_TASK_ID"))
            return;
        CFound found;
        found.strScheduler = "Slurm";
        std::optional<long long> id = Need(found, "SLURM_ARRAY_TASK_ID", 0);
        std::optional<long long> low = Need(found, "SLURM_ARRAY_TASK_MIN", 0);
        std::optional<long long> count = Need(found, "SLURM_ARRAY_TASK_COUNT", 1);
        std::optional<long long> step = 1;
        if (Text("SLURM_ARRAY_TASK_STEP"))
            step = Need(found, "SLURM_ARRAY_TASK_STEP", 1);
        std::optional<long long> index;
        if (id && low && step)
        {
            long long offset = *id - *low;
            if (offset >= 0 && offset % *step == 0)
                index = offset / *step;
            else if (found.strError.empty())
                found.strError =
                    CMessageTable::Format(EMessageId::ShardAutoSlurmOffGrid, {*id, *low, *step});
        }
        Settle(found, index, count, "SLURM_ARRAY_TASK_ID");
        all.push_back(found);
    }

private:
    void Settle(CFound& found, std::optional<long long> index, std::optional<long long> count,
                const char* indexName) const
    {
        if (!found.strError.empty() || !index || !count)
            return;
        if (*count > kMaxParts || *index >= *count)
        {
            found.strError =
                CMessageTable::Format(EMessageId::ShardAutoOutside, {indexName, *index, *count});
            return;
        }
        found.nIndex = static_cast<int>(*index) + 1;
        found.nCount = static_cast<int>(*count);
        if (m_count && *m_count != found.nCount)
            found.strError = CMessageTable::Format(EMessageId::ShardAutoCountDiffers,
                                                   {found.strScheduler, found.nCount, *m_count});
    }

    static constexpr long long kMaxParts = 1'000'000'000;
    const CSchedulerShard::FVariable& m_variable;
    std::optional<int> m_count;
};
} // namespace

CSchedulerShard::CResult CSchedulerShard::Find(const FVariable& variable, std::optional<int> count)
{
    CLookup lookup(variable, count);
    std::vector<CFound> all;
    lookup.Slurm(all);
    lookup.Indexed(all, "Kubernetes", "JOB_COMPLETION_INDEX", nullptr);
    lookup.Indexed(all, "AWS Batch", "AWS_BATCH_JOB_ARRAY_INDEX", "AWS_BATCH_JOB_ARRAY_SIZE");
    lookup.Indexed(all, "Cloud Run", "CLOUD_RUN_TASK_INDEX", "CLOUD_RUN_TASK_COUNT");

    CResult result;
    if (all.empty())
    {
        result.strError = CMessageTable::Format(EMessageId::ShardAutoNone);
        return result;
    }
    for (const CFound& found : all)
    {
        if (!found.strError.empty())
        {
            result.strError = found.strError;
            return result;
        }
    }
    // Variables left over from an outer job are no reason to guess: two
    // schedulers must agree on the part.
    for (const CFound& found : all)
    {
        if (found.nIndex != all.front().nIndex || found.nCount != all.front().nCount)
        {
            result.strError = CMessageTable::Format(EMessageId::ShardAutoDisagree,
                                                    {all.front().strScheduler, all.front().nIndex,
                                                     all.front().nCount, found.strScheduler,
                                                     found.nIndex, found.nCount});
            return result;
        }
    }
    result.shard = CShard(all.front().nIndex, all.front().nCount);
    return result;
}
