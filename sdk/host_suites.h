// Every suite the plug-in uses, by the accessor the plug-in calls it through,
// its table type, its name and its version. The accessor's digit is not the
// version. Shared by the plug-in's suite handler and the stand-in host.
#ifndef ZOLVAR_SDK_HOST_SUITES_H
#define ZOLVAR_SDK_HOST_SUITES_H

#include "host_api.h"

// accessor, struct, name, version
#define ZOLVAR_SUITES(X)                                                                    \
    X(CommandSuite1, AEGP_CommandSuite1, kAEGPCommandSuite, kAEGPCommandSuiteVersion1)      \
    X(RegisterSuite5, AEGP_RegisterSuite5, kAEGPRegisterSuite, kAEGPRegisterSuiteVersion5)  \
    X(UtilitySuite3, AEGP_UtilitySuite3, kAEGPUtilitySuite, kAEGPUtilitySuiteVersion3)      \
    X(UtilitySuite5, AEGP_UtilitySuite5, kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5)      \
    X(ProjSuite5, AEGP_ProjSuite5, kAEGPProjSuite, kAEGPProjSuiteVersion5)                  \
    X(MemorySuite1, AEGP_MemorySuite1, kAEGPMemorySuite, kAEGPMemorySuiteVersion1)          \
    X(PersistentDataSuite3, AEGP_PersistentDataSuite3, kAEGPPersistentDataSuite,            \
      kAEGPPersistentDataSuiteVersion3)                                                     \
    X(ItemSuite8, AEGP_ItemSuite8, kAEGPItemSuite, kAEGPItemSuiteVersion8)                  \
    X(ItemSuite7, AEGP_ItemSuite7, kAEGPItemSuite, kAEGPItemSuiteVersion7)                  \
    X(CompSuite7, AEGP_CompSuite7, kAEGPCompSuite, kAEGPCompSuiteVersion7)                  \
    X(CompSuite5, AEGP_CompSuite5, kAEGPCompSuite, kAEGPCompSuiteVersion5)                  \
    X(LayerSuite7, AEGP_LayerSuite7, kAEGPLayerSuite, kAEGPLayerSuiteVersion7)              \
    X(LayerSuite5, AEGP_LayerSuite5, kAEGPLayerSuite, kAEGPLayerSuiteVersion5)              \
    X(StreamSuite4, AEGP_StreamSuite4, kAEGPStreamSuite, kAEGPStreamSuiteVersion4)          \
    X(StreamSuite3, AEGP_StreamSuite3, kAEGPStreamSuite, kAEGPStreamSuiteVersion3)          \
    X(StreamSuite2, AEGP_StreamSuite2, kAEGPStreamSuite, kAEGPStreamSuiteVersion2)          \
    X(DynamicStreamSuite4, AEGP_DynamicStreamSuite4, kAEGPDynamicStreamSuite,               \
      kAEGPDynamicStreamSuiteVersion4)                                                      \
    X(DynamicStreamSuite3, AEGP_DynamicStreamSuite3, kAEGPDynamicStreamSuite,               \
      kAEGPDynamicStreamSuiteVersion3)                                                      \
    X(KeyframeSuite4, AEGP_KeyframeSuite4, kAEGPKeyframeSuite, kAEGPKeyframeSuiteVersion4)  \
    X(MaskSuite5, AEGP_MaskSuite5, kAEGPMaskSuite, kAEGPMaskSuiteVersion5)                  \
    X(MaskOutlineSuite2, AEGP_MaskOutlineSuite2, kAEGPMaskOutlineSuite,                     \
      kAEGPMaskOutlineSuiteVersion2)                                                        \
    X(PathDataSuite1, PF_PathDataSuite1, kPFPathDataSuite, kPFPathDataSuiteVersion1)        \
    X(TextLayerSuite1, AEGP_TextLayerSuite1, kAEGPTextLayerSuite, kAEGPTextLayerSuiteVersion1) \
    X(FootageSuite5, AEGP_FootageSuite5, kAEGPFootageSuite, kAEGPFootageSuiteVersion5)

#endif /* ZOLVAR_SDK_HOST_SUITES_H */
