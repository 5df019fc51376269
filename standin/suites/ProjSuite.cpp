// "AEGP Proj Suite" 8: the open project, its name and path.
#include "SuiteContext.h"
#include "SuiteTables.h"

namespace standin {
namespace {

STANDIN_CALL(AEGP_GetProjectByIndex, (A_long proj_indexL, AEGP_ProjectH* projPH))
{
    if (!projPH)
        return A_Err_PARAMETER;
    *projPH = nullptr;
    if (proj_indexL != 0)
        return A_Err_PARAMETER;
    *projPH = ctx().projectHandle();
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetProjectName, (AEGP_ProjectH projH, A_char* nameZ))
{
    if (!nameZ)
        return A_Err_PARAMETER;
    if (A_Err err = ctx().findProject(projH))
        return err;
    if (!copyToBuffer(ctx().project.name().toStdString(), nameZ, AEGP_MAX_PROJ_NAME_SIZE))
        noteCall("name truncated");
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_GetProjectPath, (AEGP_ProjectH projH, AEGP_MemHandle* unicode_pathPH))
{
    if (!unicode_pathPH)
        return A_Err_PARAMETER;
    *unicode_pathPH = nullptr;
    if (A_Err err = ctx().findProject(projH))
        return err;
    *unicode_pathPH = ctx().memory.create(ctx().project.path().toStdU16String());
    return A_Err_NONE;
}

} // namespace

const AEGP_ProjSuite5* ProjSuite5Table()
{
    static const AEGP_ProjSuite5 table = [] {
        auto t = makeSuiteTable<ProjSuite5Tag>();
        STANDIN_SLOT(ProjSuite5Tag, t, AEGP_GetProjectByIndex);
        STANDIN_SLOT(ProjSuite5Tag, t, AEGP_GetProjectName);
        STANDIN_SLOT(ProjSuite5Tag, t, AEGP_GetProjectPath);
        return t;
    }();
    return &table;
}

} // namespace standin
