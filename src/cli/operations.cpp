#include "cli/operations.h"

namespace kvl::cli {

void OperationTable::add(Operation operation)
{
    Q_ASSERT(!find(operation.name));
    m_operations.append(std::move(operation));
}

const Operation *OperationTable::find(QStringView name) const
{
    for (const Operation &operation : m_operations) {
        if (operation.name == name)
            return &operation;
    }
    return nullptr;
}

const OperationTable &standardOperations()
{
    static const OperationTable table = [] {
        OperationTable t;
        addRegistryOperations(t);
        addLinkOperations(t);
        return t;
    }();
    return table;
}

} // namespace kvl::cli
