// Partitions, partition marks and body transforms of the kernel facade.
#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"

namespace QEL {

int GetCurrentPartition()
{
    int partition = 0;
    return BQ_SESSION_ask_curr_partition(&partition) == BQ_ERROR_no_errors ? partition : 0;
}

int SetCurrentPartition(int partition) { return BQ_PARTITION_set_current(partition); }

int CreateEmptyPartition()
{
    int partition = 0;
    return BQ_PARTITION_create_empty(&partition) == BQ_ERROR_no_errors ? partition : 0;
}

bool DeletePartition(int partition)
{
    const BQ_PARTITION_delete_o_t options = {1, true};
    return BQ_PARTITION_delete(partition, &options) == BQ_ERROR_no_errors;
}

int GetEntityPartition(int tag)
{
    int partition = 0;
    return BQ_ENTITY_ask_partition(tag, &partition) == BQ_ERROR_no_errors ? partition : 0;
}

int MakePartitionMarkWithChanges(int partition, std::vector<int>* created,
                                 std::vector<int>* modified, std::vector<int>* deleted)
{
    const BQ_PARTITION_make_pmark_o_t options = {1, created != nullptr, modified != nullptr,
                                                 deleted != nullptr};
    KernelArray<int> newEntities;
    KernelArray<int> modEntities;
    KernelArray<int> delEntities;
    int mark = 0;
    if (BQ_PARTITION_make_pmark_2(partition, &options, &mark, newEntities.Count(),
                                  newEntities.Slot(), modEntities.Count(), modEntities.Slot(),
                                  delEntities.Count(), delEntities.Slot()) != BQ_ERROR_no_errors)
        return 0;
    const struct {
        const KernelArray<int>& list;
        std::vector<int>* out;
    } lists[] = {{newEntities, created}, {modEntities, modified}, {delEntities, deleted}};
    for (const auto& entry : lists)
        if (entry.out) {
            entry.out->reserve(entry.out->size() + entry.list.Size());
            entry.list.AppendTo(*entry.out);
        }
    return mark;
}

int GetPrecedingPartitionMark(int mark)
{
    int preceding = 0;
    return BQ_PMARK_ask_preceding(mark, &preceding) == BQ_ERROR_no_errors ? preceding : 0;
}

int GoToPartitionMark(int mark)
{
    // The kernel makes the mark's partition current on the way; the application's current
    // partition is put back, so that rolling back never changes where it makes new bodies.
    const CurrentPartitionScope keepCurrent(0);
    const BQ_PMARK_goto_o_t options = {3, true, false, false, false};
    return BQ_PMARK_goto_2(mark, &options, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
}

void DeletePartitionMark(int mark)
{
    KernelArray<int> failed;
    BQ_PMARK_delete(1, &mark, failed.Count(), failed.Slot());
}

void TransformBody(int body, int transform, double tolerance, const BQ_BODY_transform_o_t* options)
{
    BQ_TOPOL_track_r_t tracking = {0, nullptr};
    BQ_TOPOL_local_r_t local = {0, nullptr, nullptr};
    BQ_BODY_transform_2(body, transform, tolerance, options, &tracking, &local);
    BQ_TOPOL_track_r_f(&tracking);
    BQ_TOPOL_local_r_f(&local);
}

unsigned int Memory::GetCurrentMemory() { return 0; }

}  // namespace QEL
