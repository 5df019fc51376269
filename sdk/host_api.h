// The compositing host's plug-in interface, as the plug-in sees it.
//
// Every suite is a C table of function pointers reached through the basic
// suite by (name, version). The position of a member in its table is the
// slot number the host and the plug-in agree on; positions that nothing calls
// hold placeholders so that the slots after them keep their numbers.
//
// Shared by the plug-in and the stand-in host; plain C layout throughout.
#ifndef ZOLVAR_SDK_HOST_API_H
#define ZOLVAR_SDK_HOST_API_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---------------------------------------------------------------------------
 * Basic types
 * ------------------------------------------------------------------------- */
typedef int32_t A_Err;
typedef int32_t A_long;
typedef uint32_t A_u_long;
typedef int16_t A_short;
typedef uint8_t A_Boolean;
typedef double A_FpLong;
typedef char A_char;
typedef char16_t A_UTF16Char;

typedef struct { A_long value; A_u_long scale; } A_Time;
typedef struct { A_long num; A_u_long den; } A_Ratio;
/* Row-major, applied to row vectors: out[j] = sum_i p[i] * mat[i][j]. */
typedef struct { A_FpLong mat[4][4]; } A_Matrix4;
typedef struct { A_FpLong x, y; } A_FloatPoint;
typedef struct { A_FpLong alpha, red, green, blue; } AEGP_ColorVal;

/* Error codes. 0 is success; the plug-in only ever compares with 0. */
enum {
    A_Err_NONE = 0,
    A_Err_GENERIC = 1,   /* not possible in the current state */
    A_Err_STRUCT = 2,    /* stale handle, or a handle of the wrong kind */
    A_Err_PARAMETER = 3, /* bad argument: null pointer, index out of range ... */
    A_Err_ALLOC = 4,
    STANDIN_ERR_NOT_IMPLEMENTED = 100,
    STANDIN_ERR_INJECTED = 101
};
#define SP_ERR_SUITE_NOT_FOUND ((int32_t)0x53214664) /* 'S!Fd' */

/* Sizes of caller buffers the host fills without being told their size. */
#define AEGP_MAX_PROJ_NAME_SIZE 256
#define AEGP_MAX_STREAM_MATCH_NAME_SIZE 40
#define AEGP_MAX_STREAM_NAME_SIZE 32

/* Opaque handles: pointers to incomplete structs, NULL means none. */
typedef struct _AEGP_Project* AEGP_ProjectH;
typedef struct _AEGP_Item* AEGP_ItemH;
typedef struct _AEGP_Comp* AEGP_CompH;
typedef struct _AEGP_Layer* AEGP_LayerH;
typedef struct _AEGP_StreamRef* AEGP_StreamRefH;
typedef struct _AEGP_MaskRef* AEGP_MaskRefH;
typedef struct _AEGP_MaskOutlineVal* AEGP_MaskOutlineValH;
typedef struct _AEGP_Footage* AEGP_FootageH;
typedef struct _AEGP_MemHandle* AEGP_MemHandle;
typedef struct _AEGP_PersistentBlob* AEGP_PersistentBlobH;
typedef struct _AEGP_Collection2* AEGP_Collection2H;
typedef struct _AEGP_AddKeyframesInfo* AEGP_AddKeyframesInfoH;
typedef struct _AEGP_TextOutlines* AEGP_TextOutlinesH;
typedef struct _PF_PathOutline* PF_PathOutlinePtr;
typedef struct _PF_Prog* PF_ProgPtr;

typedef A_long AEGP_PluginID;
typedef A_long AEGP_Command;
typedef A_long AEGP_MenuID;
typedef A_long AEGP_HookPriority;
typedef A_long AEGP_ItemType;
typedef A_long AEGP_ObjectType;
typedef A_long AEGP_LTimeMode;
typedef A_long AEGP_LayerStream;
typedef A_long AEGP_MaskStream;
typedef A_long PF_MaskMode;
typedef A_long AEGP_StreamGroupingType;
typedef A_long AEGP_DynStreamFlags;
typedef A_long AEGP_KeyframeIndex;
typedef A_long AEGP_VertexIndex;
typedef A_long AEGP_WindowType;
typedef A_u_long AEGP_LayerFlags;
typedef A_u_long AEGP_FootageSignature;
typedef A_u_long AEGP_MemSize;
typedef A_u_long AEGP_LayerIDVal;
typedef signed char AEGP_LabelID;

typedef void* AEGP_GlobalRefcon;
typedef void* AEGP_CommandRefcon;
typedef void* AEGP_UpdateMenuRefcon;

/* Item types. */
enum { AEGP_ItemType_NONE = 0, AEGP_ItemType_FOLDER = 1, AEGP_ItemType_COMP = 2, AEGP_ItemType_FOOTAGE = 4 };
/* Layer object types. */
enum { AEGP_ObjectType_AV = 0, AEGP_ObjectType_LIGHT = 1, AEGP_ObjectType_CAMERA = 2,
       AEGP_ObjectType_TEXT = 3, AEGP_ObjectType_VECTOR = 4 };
/* Layer flag bits. */
enum {
    AEGP_LayerFlag_VIDEO_ACTIVE = 0x1,
    AEGP_LayerFlag_AUDIO_ACTIVE = 0x2,
    AEGP_LayerFlag_EFFECTS_ACTIVE = 0x4,
    AEGP_LayerFlag_MOTION_BLUR = 0x8,
    AEGP_LayerFlag_FRAME_BLENDING = 0x10,
    AEGP_LayerFlag_LOCKED = 0x20,
    AEGP_LayerFlag_SHY = 0x40,
    AEGP_LayerFlag_COLLAPSE = 0x80,
    AEGP_LayerFlag_AUTO_ORIENT_ROTATION = 0x100,
    AEGP_LayerFlag_ADJUSTMENT_LAYER = 0x200,
    AEGP_LayerFlag_TIME_REMAPPING = 0x400,
    AEGP_LayerFlag_LAYER_IS_3D = 0x800,
    AEGP_LayerFlag_LOOK_AT_CAMERA = 0x1000,
    AEGP_LayerFlag_LOOK_AT_POI = 0x2000,
    AEGP_LayerFlag_SOLO = 0x4000,
    AEGP_LayerFlag_MARKERS_LOCKED = 0x8000,
    AEGP_LayerFlag_NULL_LAYER = 0x10000,
    AEGP_LayerFlag_HIDE_LOCKED_MASKS = 0x20000,
    AEGP_LayerFlag_GUIDE_LAYER = 0x40000
};
/* Time modes. */
enum { AEGP_LTimeMode_LayerTime = 0, AEGP_LTimeMode_CompTime = 1 };
/* Layer transform streams and mask streams. */
enum { AEGP_LayerStream_ANCHORPOINT = 0, AEGP_LayerStream_POSITION = 1,
       AEGP_LayerStream_SCALE = 2, AEGP_LayerStream_ROTATION = 3 };
enum { AEGP_MaskStream_OUTLINE = 400, AEGP_MaskStream_OPACITY = 401,
       AEGP_MaskStream_FEATHER = 402, AEGP_MaskStream_EXPANSION = 403 };
/* How a mask combines with the masks above it. */
enum { PF_MaskMode_NONE = 0, PF_MaskMode_ADD = 1, PF_MaskMode_SUBTRACT = 2, PF_MaskMode_INTERSECT = 3,
       PF_MaskMode_LIGHTEN = 4, PF_MaskMode_DARKEN = 5, PF_MaskMode_DIFFERENCE = 6 };
/* Property-tree node kinds. */
enum { AEGP_StreamGroupingType_LEAF = 0, AEGP_StreamGroupingType_NAMED_GROUP = 1,
       AEGP_StreamGroupingType_INDEXED_GROUP = 2 };
/* Dynamic-stream flag: the item's on/off switch. */
enum { AEGP_DynStreamFlag_ACTIVE_EYEBALL = 0x1 };
/* Menus and hooks. */
enum { AEGP_Menu_COMPOSITION = 4 };
enum { AEGP_MENU_INSERT_AT_BOTTOM = -1 };
enum { AEGP_HP_BeforeAE = 1 };
enum { AEGP_Command_ALL = 0 };
/* Footage signature of solids: 'Soli'. */
#define AEGP_FootageSignature_SOLID ((AEGP_FootageSignature)0x536F6C69)

typedef struct { A_FpLong x, y; } AEGP_TwoDVal;
typedef struct { A_FpLong x, y, z; } AEGP_ThreeDVal;
typedef A_FpLong AEGP_OneDVal;

/* two_d and three_d share their first members (x, y). */
typedef union {
    AEGP_ThreeDVal three_d;
    AEGP_TwoDVal two_d;
    AEGP_OneDVal one_d;
    AEGP_ColorVal color;
    AEGP_MaskOutlineValH mask;
} AEGP_StreamVal2;

typedef struct {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal2 val;
} AEGP_StreamValue2;

/* Mask vertex: tangents relative to the vertex. */
typedef struct { A_FpLong x, y, tan_in_x, tan_in_y, tan_out_x, tan_out_y; } AEGP_MaskVertex;
/* Path vertex of a text outline: tangents are absolute points. */
typedef struct { A_FpLong x, y, tan_in_x, tan_in_y, tan_out_x, tan_out_y; } PF_PathVertex;

typedef A_Err (*AEGP_CommandHook)(AEGP_GlobalRefcon plugin_refconP, AEGP_CommandRefcon refconP,
                                  AEGP_Command command, AEGP_HookPriority hook_priority,
                                  A_Boolean already_handledB, A_Boolean* handledPB);
typedef A_Err (*AEGP_UpdateMenuHook)(AEGP_GlobalRefcon plugin_refconP, AEGP_UpdateMenuRefcon refconP,
                                     AEGP_WindowType active_window);

/* ---------------------------------------------------------------------------
 * Basic suite
 * ------------------------------------------------------------------------- */
typedef struct SPBasicSuite {
    int32_t (*AcquireSuite)(const char* name, int32_t version, const void** suite);  /* 0 */
    int32_t (*ReleaseSuite)(const char* name, int32_t version);                      /* 1 */
    int32_t (*IsEqual)(const char* token1, const char* token2);                      /* 2 */
    int32_t (*AllocateBlock)(size_t size, void** block);                             /* 3 */
    int32_t (*FreeBlock)(void* block);                                               /* 4 */
    int32_t (*ReallocateBlock)(void* block, size_t newSize, void** newblock);        /* 5 */
    int32_t (*Undefined)(void);                                                      /* 6 */
} SPBasicSuite;

/* A placeholder for a slot that neither side calls. */
#define ZOLVAR_UNUSED_SLOT(n) A_Err (*unused_##n)(void)

/* ---------------------------------------------------------------------------
 * Suite names and versions
 * ------------------------------------------------------------------------- */
#define kAEGPCommandSuite "AEGP Command Suite"
#define kAEGPCommandSuiteVersion1 1
#define kAEGPRegisterSuite "AEGP Register Suite"
#define kAEGPRegisterSuiteVersion5 6
#define kAEGPUtilitySuite "AEGP Utility Suite"
#define kAEGPUtilitySuiteVersion3 7
#define kAEGPUtilitySuiteVersion5 11
#define kAEGPProjSuite "AEGP Proj Suite"
#define kAEGPProjSuiteVersion5 8
#define kAEGPMemorySuite "AEGP Memory Suite"
#define kAEGPMemorySuiteVersion1 1
#define kAEGPPersistentDataSuite "AEGP Persistent Data Suite"
#define kAEGPPersistentDataSuiteVersion3 3
#define kAEGPItemSuite "AEGP Item Suite"
#define kAEGPItemSuiteVersion8 13
#define kAEGPItemSuiteVersion7 11
#define kAEGPCompSuite "AEGP Comp Suite"
#define kAEGPCompSuiteVersion7 15
#define kAEGPCompSuiteVersion5 11
#define kAEGPLayerSuite "AEGP Layer Suite"
#define kAEGPLayerSuiteVersion7 13
#define kAEGPLayerSuiteVersion5 11
#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion4 9
#define kAEGPStreamSuiteVersion3 8
#define kAEGPStreamSuiteVersion2 7
#define kAEGPDynamicStreamSuite "AEGP Dynamic Stream Suite"
#define kAEGPDynamicStreamSuiteVersion4 5
#define kAEGPDynamicStreamSuiteVersion3 3
#define kAEGPKeyframeSuite "AEGP Keyframe Suite"
#define kAEGPKeyframeSuiteVersion4 4
#define kAEGPMaskSuite "AEGP Layer Mask Suite"
#define kAEGPMaskSuiteVersion5 6
#define kAEGPMaskOutlineSuite "AEGP Mask Outline Suite"
#define kAEGPMaskOutlineSuiteVersion2 3
#define kPFPathDataSuite "PF Path Data Suite"
#define kPFPathDataSuiteVersion1 1
#define kAEGPTextLayerSuite "AEGP Text Layer Suite"
#define kAEGPTextLayerSuiteVersion1 1
#define kAEGPFootageSuite "AEGP Footage Suite"
#define kAEGPFootageSuiteVersion5 11

/* ---------------------------------------------------------------------------
 * Suites. The comment after each member is its slot number.
 * ------------------------------------------------------------------------- */
typedef struct AEGP_CommandSuite1 {
    A_Err (*AEGP_GetUniqueCommand)(AEGP_Command* unique_commandP);                                  /* 0 */
    A_Err (*AEGP_InsertMenuCommand)(AEGP_Command command, const A_char* nameZ, AEGP_MenuID menu_id,
                                    A_long after_itemL);                                           /* 1 */
    ZOLVAR_UNUSED_SLOT(2);
    ZOLVAR_UNUSED_SLOT(3);
    A_Err (*AEGP_EnableCommand)(AEGP_Command command);                                              /* 4 */
    A_Err (*AEGP_DisableCommand)(AEGP_Command command);                                             /* 5 */
} AEGP_CommandSuite1;

typedef struct AEGP_RegisterSuite5 {
    A_Err (*AEGP_RegisterCommandHook)(AEGP_PluginID plugin_id, AEGP_HookPriority hook_priority,
                                      AEGP_Command command, AEGP_CommandHook command_hook_func,
                                      AEGP_CommandRefcon refconP);                                  /* 0 */
    A_Err (*AEGP_RegisterUpdateMenuHook)(AEGP_PluginID plugin_id, AEGP_UpdateMenuHook update_menu_hook_func,
                                         AEGP_UpdateMenuRefcon refconP);                            /* 1 */
} AEGP_RegisterSuite5;

typedef struct AEGP_UtilitySuite3 {
    A_Err (*AEGP_ReportInfo)(AEGP_PluginID plugin_id, const A_char* info_stringZ);                 /* 0 */
} AEGP_UtilitySuite3;

typedef struct AEGP_UtilitySuite5 {
    ZOLVAR_UNUSED_SLOT(0);
    ZOLVAR_UNUSED_SLOT(1);
    ZOLVAR_UNUSED_SLOT(2);
    ZOLVAR_UNUSED_SLOT(3);
    ZOLVAR_UNUSED_SLOT(4);
    ZOLVAR_UNUSED_SLOT(5);
    A_Err (*AEGP_StartUndoGroup)(const A_char* undo_nameZ);                                         /* 6 */
    A_Err (*AEGP_EndUndoGroup)(void);                                                               /* 7 */
} AEGP_UtilitySuite5;

typedef struct AEGP_ProjSuite5 {
    ZOLVAR_UNUSED_SLOT(0);
    A_Err (*AEGP_GetProjectByIndex)(A_long proj_indexL, AEGP_ProjectH* projPH);                     /* 1 */
    A_Err (*AEGP_GetProjectName)(AEGP_ProjectH projH, A_char* nameZ);                               /* 2 */
    A_Err (*AEGP_GetProjectPath)(AEGP_ProjectH projH, AEGP_MemHandle* unicode_pathPH);              /* 3 */
} AEGP_ProjSuite5;

typedef struct AEGP_MemorySuite1 {
    ZOLVAR_UNUSED_SLOT(0);
    A_Err (*AEGP_FreeMemHandle)(AEGP_MemHandle memH);                                               /* 1 */
    A_Err (*AEGP_LockMemHandle)(AEGP_MemHandle memH, void** ptr_to_ptr);                            /* 2 */
    A_Err (*AEGP_UnlockMemHandle)(AEGP_MemHandle memH);                                             /* 3 */
    A_Err (*AEGP_GetMemHandleSize)(AEGP_MemHandle memH, AEGP_MemSize* sizeP);                       /* 4 */
} AEGP_MemorySuite1;

typedef struct AEGP_PersistentDataSuite3 {
    A_Err (*AEGP_GetApplicationBlob)(AEGP_PersistentBlobH* blobPH);                                 /* 0 */
    ZOLVAR_UNUSED_SLOT(1);
    ZOLVAR_UNUSED_SLOT(2);
    A_Err (*AEGP_DoesKeyExist)(AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ,
                               A_Boolean* existsPB);                                                /* 3 */
    ZOLVAR_UNUSED_SLOT(4);
    ZOLVAR_UNUSED_SLOT(5);
    ZOLVAR_UNUSED_SLOT(6);
    ZOLVAR_UNUSED_SLOT(7);
    A_Err (*AEGP_GetString)(AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ,
                            const A_char* defaultZ, A_u_long buf_sizeLu, A_char* bufZ,
                            A_u_long* actual_buf_sizeLu);                                           /* 8 */
    A_Err (*AEGP_GetLong)(AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ,
                          A_long defaultL, A_long* valuePL);                                        /* 9 */
    A_Err (*AEGP_GetFpLong)(AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ,
                            A_FpLong defaultF, A_FpLong* valuePF);                                  /* 10 */
    ZOLVAR_UNUSED_SLOT(11);
    ZOLVAR_UNUSED_SLOT(12);
    A_Err (*AEGP_SetString)(AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ,
                            const A_char* valueZ);                                                  /* 13 */
    A_Err (*AEGP_SetLong)(AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ,
                          A_long valueL);                                                           /* 14 */
    A_Err (*AEGP_SetFpLong)(AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ,
                            A_FpLong valueF);                                                       /* 15 */
} AEGP_PersistentDataSuite3;

/* Item suite; version 13 and version 11 share these slots. */
#define ZOLVAR_ITEM_SUITE_MEMBERS                                                                     \
    ZOLVAR_UNUSED_SLOT(0);                                                                            \
    ZOLVAR_UNUSED_SLOT(1);                                                                            \
    A_Err (*AEGP_GetActiveItem)(AEGP_ItemH* itemPH);                                      /* 2 */     \
    ZOLVAR_UNUSED_SLOT(3);                                                                            \
    ZOLVAR_UNUSED_SLOT(4);                                                                            \
    A_Err (*AEGP_GetItemType)(AEGP_ItemH itemH, AEGP_ItemType* item_typeP);               /* 5 */     \
    ZOLVAR_UNUSED_SLOT(6);                                                                            \
    A_Err (*AEGP_GetItemName)(AEGP_PluginID plugin_id, AEGP_ItemH itemH,                              \
                              AEGP_MemHandle* unicode_namePH);                            /* 7 */     \
    ZOLVAR_UNUSED_SLOT(8);                                                                            \
    ZOLVAR_UNUSED_SLOT(9);                                                                            \
    ZOLVAR_UNUSED_SLOT(10);                                                                           \
    ZOLVAR_UNUSED_SLOT(11);                                                                           \
    ZOLVAR_UNUSED_SLOT(12);                                                                           \
    ZOLVAR_UNUSED_SLOT(13);                                                                           \
    A_Err (*AEGP_GetItemDuration)(AEGP_ItemH itemH, A_Time* durationPT);                  /* 14 */    \
    ZOLVAR_UNUSED_SLOT(15);                                                                           \
    A_Err (*AEGP_GetItemDimensions)(AEGP_ItemH itemH, A_long* widthPL, A_long* heightPL); /* 16 */    \
    A_Err (*AEGP_GetItemPixelAspectRatio)(AEGP_ItemH itemH, A_Ratio* pix_aspect_ratioPRt) /* 17 */

typedef struct AEGP_ItemSuite8 { ZOLVAR_ITEM_SUITE_MEMBERS; } AEGP_ItemSuite8;
typedef struct AEGP_ItemSuite7 { ZOLVAR_ITEM_SUITE_MEMBERS; } AEGP_ItemSuite7;

typedef struct AEGP_CompSuite7 {
    A_Err (*AEGP_GetCompFromItem)(AEGP_ItemH itemH, AEGP_CompH* compPH);                            /* 0 */
    A_Err (*AEGP_GetItemFromComp)(AEGP_CompH compH, AEGP_ItemH* itemPH);                            /* 1 */
    ZOLVAR_UNUSED_SLOT(2);
    ZOLVAR_UNUSED_SLOT(3);
    A_Err (*AEGP_GetCompBGColor)(AEGP_CompH compH, AEGP_ColorVal* bg_colorP);                       /* 4 */
    ZOLVAR_UNUSED_SLOT(5);
    ZOLVAR_UNUSED_SLOT(6);
    A_Err (*AEGP_GetCompFramerate)(AEGP_CompH compH, A_FpLong* fpsPF);                              /* 7 */
    ZOLVAR_UNUSED_SLOT(8);
    ZOLVAR_UNUSED_SLOT(9);
    ZOLVAR_UNUSED_SLOT(10);
    ZOLVAR_UNUSED_SLOT(11);
    ZOLVAR_UNUSED_SLOT(12);
    A_Err (*AEGP_GetCompWorkAreaStart)(AEGP_CompH compH, A_Time* work_area_startPT);                /* 13 */
    A_Err (*AEGP_GetCompWorkAreaDuration)(AEGP_CompH compH, A_Time* work_area_durationPT);          /* 14 */
    A_Err (*AEGP_SetCompWorkAreaStartAndDuration)(AEGP_CompH compH, const A_Time* startPT,
                                                  const A_Time* durationPT);                        /* 15 */
    ZOLVAR_UNUSED_SLOT(16);
    ZOLVAR_UNUSED_SLOT(17);
    ZOLVAR_UNUSED_SLOT(18);
    ZOLVAR_UNUSED_SLOT(19);
    A_Err (*AEGP_GetNewCollectionFromCompSelection)(AEGP_PluginID plugin_id, AEGP_CompH compH,
                                                    AEGP_Collection2H* collectionPH);               /* 20 */
    A_Err (*AEGP_SetSelection)(AEGP_CompH compH, AEGP_Collection2H collectionH);                    /* 21 */
    ZOLVAR_UNUSED_SLOT(22);
    ZOLVAR_UNUSED_SLOT(23);
    ZOLVAR_UNUSED_SLOT(24);
    A_Err (*AEGP_CreateNullInComp)(const A_UTF16Char* utf_nameZ, AEGP_CompH compH,
                                   const A_Time* durationPT, AEGP_LayerH* new_null_layerPH);        /* 25 */
    ZOLVAR_UNUSED_SLOT(26);
    ZOLVAR_UNUSED_SLOT(27);
    ZOLVAR_UNUSED_SLOT(28);
    A_Err (*AEGP_DuplicateComp)(AEGP_CompH compH, AEGP_CompH* new_compPH);                          /* 29 */
    A_Err (*AEGP_GetCompFrameDuration)(AEGP_CompH compH, A_Time* timePT);                           /* 30 */
    ZOLVAR_UNUSED_SLOT(31);
    A_Err (*AEGP_CreateVectorLayerInComp)(AEGP_CompH compH, AEGP_LayerH* new_vec_layerPH);          /* 32 */
} AEGP_CompSuite7;

typedef struct AEGP_CompSuite5 {
    ZOLVAR_UNUSED_SLOT(0);  ZOLVAR_UNUSED_SLOT(1);  ZOLVAR_UNUSED_SLOT(2);  ZOLVAR_UNUSED_SLOT(3);
    ZOLVAR_UNUSED_SLOT(4);  ZOLVAR_UNUSED_SLOT(5);  ZOLVAR_UNUSED_SLOT(6);  ZOLVAR_UNUSED_SLOT(7);
    ZOLVAR_UNUSED_SLOT(8);  ZOLVAR_UNUSED_SLOT(9);  ZOLVAR_UNUSED_SLOT(10); ZOLVAR_UNUSED_SLOT(11);
    ZOLVAR_UNUSED_SLOT(12); ZOLVAR_UNUSED_SLOT(13); ZOLVAR_UNUSED_SLOT(14); ZOLVAR_UNUSED_SLOT(15);
    ZOLVAR_UNUSED_SLOT(16); ZOLVAR_UNUSED_SLOT(17); ZOLVAR_UNUSED_SLOT(18); ZOLVAR_UNUSED_SLOT(19);
    ZOLVAR_UNUSED_SLOT(20); ZOLVAR_UNUSED_SLOT(21); ZOLVAR_UNUSED_SLOT(22); ZOLVAR_UNUSED_SLOT(23);
    ZOLVAR_UNUSED_SLOT(24); ZOLVAR_UNUSED_SLOT(25); ZOLVAR_UNUSED_SLOT(26); ZOLVAR_UNUSED_SLOT(27);
    A_Err (*AEGP_GetCompFrameDuration)(AEGP_CompH compH, A_Time* timePT);                           /* 28 */
} AEGP_CompSuite5;

typedef struct AEGP_LayerSuite7 {
    A_Err (*AEGP_GetCompNumLayers)(AEGP_CompH compH, A_long* num_layersPL);                         /* 0 */
    A_Err (*AEGP_GetCompLayerByIndex)(AEGP_CompH compH, A_long layer_indexL, AEGP_LayerH* layerPH); /* 1 */
    ZOLVAR_UNUSED_SLOT(2);
    A_Err (*AEGP_GetLayerIndex)(AEGP_LayerH layerH, A_long* layer_indexPL);                         /* 3 */
    A_Err (*AEGP_GetLayerSourceItem)(AEGP_LayerH layerH, AEGP_ItemH* source_itemPH);                /* 4 */
    ZOLVAR_UNUSED_SLOT(5);
    ZOLVAR_UNUSED_SLOT(6);
    A_Err (*AEGP_GetLayerName)(AEGP_PluginID plugin_id, AEGP_LayerH layerH,
                               AEGP_MemHandle* layer_namePH, AEGP_MemHandle* source_namePH);       /* 7 */
    ZOLVAR_UNUSED_SLOT(8);
    ZOLVAR_UNUSED_SLOT(9);
    A_Err (*AEGP_GetLayerFlags)(AEGP_LayerH layerH, AEGP_LayerFlags* layer_flagsP);                 /* 10 */
    A_Err (*AEGP_SetLayerFlag)(AEGP_LayerH layerH, AEGP_LayerFlags single_flag, A_Boolean valueB);  /* 11 */
    A_Err (*AEGP_IsVideoActive)(AEGP_LayerH layerH, A_Boolean* is_activePB);                        /* 12 */
    ZOLVAR_UNUSED_SLOT(13); ZOLVAR_UNUSED_SLOT(14); ZOLVAR_UNUSED_SLOT(15); ZOLVAR_UNUSED_SLOT(16);
    ZOLVAR_UNUSED_SLOT(17); ZOLVAR_UNUSED_SLOT(18); ZOLVAR_UNUSED_SLOT(19); ZOLVAR_UNUSED_SLOT(20);
    ZOLVAR_UNUSED_SLOT(21); ZOLVAR_UNUSED_SLOT(22); ZOLVAR_UNUSED_SLOT(23); ZOLVAR_UNUSED_SLOT(24);
    ZOLVAR_UNUSED_SLOT(25);
    A_Err (*AEGP_ReorderLayer)(AEGP_LayerH layerH, A_long layer_indexL);                            /* 26 */
    ZOLVAR_UNUSED_SLOT(27);
    A_Err (*AEGP_GetLayerObjectType)(AEGP_LayerH layerH, AEGP_ObjectType* object_type);             /* 28 */
    A_Err (*AEGP_IsLayer3D)(AEGP_LayerH layerH, A_Boolean* is_3DPB);                                /* 29 */
    ZOLVAR_UNUSED_SLOT(30); ZOLVAR_UNUSED_SLOT(31); ZOLVAR_UNUSED_SLOT(32); ZOLVAR_UNUSED_SLOT(33);
    ZOLVAR_UNUSED_SLOT(34); ZOLVAR_UNUSED_SLOT(35); ZOLVAR_UNUSED_SLOT(36);
    A_Err (*AEGP_GetLayerID)(AEGP_LayerH layerH, AEGP_LayerIDVal* id_valP);                         /* 37 */
    A_Err (*AEGP_GetLayerToWorldXform)(AEGP_LayerH layerH, const A_Time* comp_timeP,
                                       A_Matrix4* transform);                                       /* 38 */
    ZOLVAR_UNUSED_SLOT(39);
    ZOLVAR_UNUSED_SLOT(40);
    A_Err (*AEGP_GetLayerParent)(AEGP_LayerH layerH, AEGP_LayerH* parent_layerPH);                  /* 41 */
    A_Err (*AEGP_SetLayerParent)(AEGP_LayerH layerH, const AEGP_LayerH parent_layerH);              /* 42 */
    A_Err (*AEGP_DeleteLayer)(AEGP_LayerH layerH);                                                  /* 43 */
    A_Err (*AEGP_DuplicateLayer)(AEGP_LayerH orig_layerH, AEGP_LayerH* duplicate_layerPH);          /* 44 */
    ZOLVAR_UNUSED_SLOT(45);
    A_Err (*AEGP_GetLayerLabel)(AEGP_LayerH layerH, AEGP_LabelID* labelP);                          /* 46 */
} AEGP_LayerSuite7;

typedef struct AEGP_LayerSuite5 {
    ZOLVAR_UNUSED_SLOT(0);  ZOLVAR_UNUSED_SLOT(1);  ZOLVAR_UNUSED_SLOT(2);  ZOLVAR_UNUSED_SLOT(3);
    ZOLVAR_UNUSED_SLOT(4);  ZOLVAR_UNUSED_SLOT(5);  ZOLVAR_UNUSED_SLOT(6);  ZOLVAR_UNUSED_SLOT(7);
    ZOLVAR_UNUSED_SLOT(8);  ZOLVAR_UNUSED_SLOT(9);  ZOLVAR_UNUSED_SLOT(10); ZOLVAR_UNUSED_SLOT(11);
    ZOLVAR_UNUSED_SLOT(12); ZOLVAR_UNUSED_SLOT(13); ZOLVAR_UNUSED_SLOT(14);
    A_Err (*AEGP_GetLayerInPoint)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode, A_Time* in_pointPT); /* 15 */
    A_Err (*AEGP_GetLayerDuration)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode, A_Time* durationPT); /* 16 */
    ZOLVAR_UNUSED_SLOT(17); ZOLVAR_UNUSED_SLOT(18); ZOLVAR_UNUSED_SLOT(19); ZOLVAR_UNUSED_SLOT(20);
    ZOLVAR_UNUSED_SLOT(21); ZOLVAR_UNUSED_SLOT(22); ZOLVAR_UNUSED_SLOT(23); ZOLVAR_UNUSED_SLOT(24);
    ZOLVAR_UNUSED_SLOT(25); ZOLVAR_UNUSED_SLOT(26); ZOLVAR_UNUSED_SLOT(27); ZOLVAR_UNUSED_SLOT(28);
    ZOLVAR_UNUSED_SLOT(29); ZOLVAR_UNUSED_SLOT(30); ZOLVAR_UNUSED_SLOT(31); ZOLVAR_UNUSED_SLOT(32);
    ZOLVAR_UNUSED_SLOT(33); ZOLVAR_UNUSED_SLOT(34); ZOLVAR_UNUSED_SLOT(35); ZOLVAR_UNUSED_SLOT(36);
    ZOLVAR_UNUSED_SLOT(37); ZOLVAR_UNUSED_SLOT(38); ZOLVAR_UNUSED_SLOT(39);
    A_Err (*AEGP_SetLayerName)(AEGP_LayerH layerH, const A_char* new_nameZ);                        /* 40 */
} AEGP_LayerSuite5;

/* Stream suite slots shared by versions 9 and 7 (3, 7, 13, 14). */
typedef A_Err (*AEGP_GetNewLayerStreamFunc)(AEGP_PluginID plugin_id, AEGP_LayerH layerH,
                                            AEGP_LayerStream which_stream, AEGP_StreamRefH* streamPH);
typedef A_Err (*AEGP_DisposeStreamFunc)(AEGP_StreamRefH streamH);
typedef A_Err (*AEGP_GetNewStreamValueFunc)(AEGP_PluginID plugin_id, AEGP_StreamRefH streamH,
                                            AEGP_LTimeMode time_mode, const A_Time* timePT,
                                            A_Boolean pre_expressionB, AEGP_StreamValue2* valueP);
typedef A_Err (*AEGP_DisposeStreamValueFunc)(AEGP_StreamValue2* valueP);

typedef struct AEGP_StreamSuite4 {
    ZOLVAR_UNUSED_SLOT(0);
    ZOLVAR_UNUSED_SLOT(1);
    ZOLVAR_UNUSED_SLOT(2);
    AEGP_GetNewLayerStreamFunc AEGP_GetNewLayerStream;                                              /* 3 */
    ZOLVAR_UNUSED_SLOT(4);
    ZOLVAR_UNUSED_SLOT(5);
    A_Err (*AEGP_GetNewMaskStream)(AEGP_PluginID plugin_id, AEGP_MaskRefH mask_refH,
                                   AEGP_MaskStream which_stream, AEGP_StreamRefH* mask_streamPH);  /* 6 */
    AEGP_DisposeStreamFunc AEGP_DisposeStream;                                                      /* 7 */
    ZOLVAR_UNUSED_SLOT(8);
    ZOLVAR_UNUSED_SLOT(9);
    ZOLVAR_UNUSED_SLOT(10);
    A_Err (*AEGP_IsStreamTimevarying)(AEGP_StreamRefH streamH, A_Boolean* is_timevaryPB);          /* 11 */
    ZOLVAR_UNUSED_SLOT(12);
    AEGP_GetNewStreamValueFunc AEGP_GetNewStreamValue;                                              /* 13 */
    AEGP_DisposeStreamValueFunc AEGP_DisposeStreamValue;                                            /* 14 */
    A_Err (*AEGP_SetStreamValue)(AEGP_PluginID plugin_id, AEGP_StreamRefH streamH,
                                 AEGP_StreamValue2* valueP);                                        /* 15 */
    ZOLVAR_UNUSED_SLOT(16);
    A_Err (*AEGP_GetExpressionState)(AEGP_PluginID plugin_id, AEGP_StreamRefH streamH,
                                     A_Boolean* enabledPB);                                         /* 17 */
    A_Err (*AEGP_SetExpressionState)(AEGP_PluginID plugin_id, AEGP_StreamRefH streamH,
                                     A_Boolean enabledB);                                           /* 18 */
} AEGP_StreamSuite4;

typedef struct AEGP_StreamSuite3 {
    ZOLVAR_UNUSED_SLOT(0); ZOLVAR_UNUSED_SLOT(1); ZOLVAR_UNUSED_SLOT(2); ZOLVAR_UNUSED_SLOT(3);
    ZOLVAR_UNUSED_SLOT(4); ZOLVAR_UNUSED_SLOT(5); ZOLVAR_UNUSED_SLOT(6);
    AEGP_DisposeStreamFunc AEGP_DisposeStream;                                                      /* 7 */
    A_Err (*AEGP_GetStreamName)(AEGP_StreamRefH streamH, A_Boolean force_englishB, A_char* nameZ);  /* 8 */
} AEGP_StreamSuite3;

typedef struct AEGP_StreamSuite2 {
    ZOLVAR_UNUSED_SLOT(0);
    ZOLVAR_UNUSED_SLOT(1);
    ZOLVAR_UNUSED_SLOT(2);
    AEGP_GetNewLayerStreamFunc AEGP_GetNewLayerStream;                                              /* 3 */
    ZOLVAR_UNUSED_SLOT(4);
    ZOLVAR_UNUSED_SLOT(5);
    ZOLVAR_UNUSED_SLOT(6);
    AEGP_DisposeStreamFunc AEGP_DisposeStream;                                                      /* 7 */
    ZOLVAR_UNUSED_SLOT(8);
    ZOLVAR_UNUSED_SLOT(9);
    ZOLVAR_UNUSED_SLOT(10);
    ZOLVAR_UNUSED_SLOT(11);
    ZOLVAR_UNUSED_SLOT(12);
    AEGP_GetNewStreamValueFunc AEGP_GetNewStreamValue;                                              /* 13 */
    AEGP_DisposeStreamValueFunc AEGP_DisposeStreamValue;                                            /* 14 */
} AEGP_StreamSuite2;

typedef struct AEGP_DynamicStreamSuite4 {
    A_Err (*AEGP_GetNewStreamRefForLayer)(AEGP_PluginID plugin_id, AEGP_LayerH layerH,
                                          AEGP_StreamRefH* stream_refPH);                           /* 0 */
    ZOLVAR_UNUSED_SLOT(1);
    A_Err (*AEGP_GetStreamDepth)(AEGP_StreamRefH streamH, A_long* depthPL);                         /* 2 */
    A_Err (*AEGP_GetStreamGroupingType)(AEGP_StreamRefH streamH, AEGP_StreamGroupingType* group_typeP); /* 3 */
    A_Err (*AEGP_GetNumStreamsInGroup)(AEGP_StreamRefH streamH, A_long* num_streamsPL);             /* 4 */
    A_Err (*AEGP_GetDynamicStreamFlags)(AEGP_StreamRefH streamH, AEGP_DynStreamFlags* flagsP);      /* 5 */
    A_Err (*AEGP_SetDynamicStreamFlag)(AEGP_StreamRefH streamH, AEGP_DynStreamFlags one_flag,
                                       A_Boolean undoableB, A_Boolean setB);                        /* 6 */
    A_Err (*AEGP_GetNewStreamRefByIndex)(AEGP_PluginID plugin_id, AEGP_StreamRefH parent_groupH,
                                         A_long indexL, AEGP_StreamRefH* streamPH);                /* 7 */
    A_Err (*AEGP_GetNewStreamRefByMatchname)(AEGP_PluginID plugin_id, AEGP_StreamRefH parent_groupH,
                                             const A_char* match_nameZ, AEGP_StreamRefH* streamPH); /* 8 */
    A_Err (*AEGP_DeleteStream)(AEGP_StreamRefH streamH);                                            /* 9 */
    ZOLVAR_UNUSED_SLOT(10); ZOLVAR_UNUSED_SLOT(11); ZOLVAR_UNUSED_SLOT(12); ZOLVAR_UNUSED_SLOT(13);
    A_Err (*AEGP_AddStream)(AEGP_PluginID plugin_id, AEGP_StreamRefH indexed_groupH,
                            const A_char* match_nameZ, AEGP_StreamRefH* streamPH);                  /* 14 */
    A_Err (*AEGP_GetMatchName)(AEGP_StreamRefH streamH, A_char* nameZ);                             /* 15 */
    A_Err (*AEGP_GetNewParentStreamRef)(AEGP_PluginID plugin_id, AEGP_StreamRefH streamH,
                                        AEGP_StreamRefH* parentPH);                                 /* 16 */
    ZOLVAR_UNUSED_SLOT(17); ZOLVAR_UNUSED_SLOT(18); ZOLVAR_UNUSED_SLOT(19);
    A_Err (*AEGP_AreDimensionsSeparated)(AEGP_StreamRefH leader_streamH, A_Boolean* separatedPB);   /* 20 */
    ZOLVAR_UNUSED_SLOT(21);
    A_Err (*AEGP_GetSeparationFollower)(AEGP_StreamRefH leader_streamH, A_short dimS,
                                        AEGP_StreamRefH* follower_streamPH);                        /* 22 */
} AEGP_DynamicStreamSuite4;

typedef struct AEGP_DynamicStreamSuite3 {
    ZOLVAR_UNUSED_SLOT(0); ZOLVAR_UNUSED_SLOT(1); ZOLVAR_UNUSED_SLOT(2);  ZOLVAR_UNUSED_SLOT(3);
    ZOLVAR_UNUSED_SLOT(4); ZOLVAR_UNUSED_SLOT(5); ZOLVAR_UNUSED_SLOT(6);  ZOLVAR_UNUSED_SLOT(7);
    ZOLVAR_UNUSED_SLOT(8); ZOLVAR_UNUSED_SLOT(9); ZOLVAR_UNUSED_SLOT(10);
    A_Err (*AEGP_SetStreamName)(AEGP_StreamRefH streamH, const A_char* nameZ);                      /* 11 */
} AEGP_DynamicStreamSuite3;

typedef struct AEGP_KeyframeSuite4 {
    A_Err (*AEGP_GetStreamNumKFs)(AEGP_StreamRefH streamH, A_long* num_kfsPL);                      /* 0 */
    A_Err (*AEGP_GetKeyframeTime)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index,
                                  AEGP_LTimeMode time_mode, A_Time* timePT);                        /* 1 */
    ZOLVAR_UNUSED_SLOT(2);
    A_Err (*AEGP_DeleteKeyframe)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index);            /* 3 */
    ZOLVAR_UNUSED_SLOT(4); ZOLVAR_UNUSED_SLOT(5); ZOLVAR_UNUSED_SLOT(6); ZOLVAR_UNUSED_SLOT(7);
    A_Err (*AEGP_GetNewKeyframeSpatialTangents)(AEGP_PluginID plugin_id, AEGP_StreamRefH streamH,
                                                AEGP_KeyframeIndex key_index, AEGP_StreamValue2* in_tanP,
                                                AEGP_StreamValue2* out_tanP);                       /* 8 */
    A_Err (*AEGP_SetKeyframeSpatialTangents)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index,
                                             const AEGP_StreamValue2* in_tanP,
                                             const AEGP_StreamValue2* out_tanP);                    /* 9 */
    ZOLVAR_UNUSED_SLOT(10); ZOLVAR_UNUSED_SLOT(11); ZOLVAR_UNUSED_SLOT(12); ZOLVAR_UNUSED_SLOT(13);
    ZOLVAR_UNUSED_SLOT(14); ZOLVAR_UNUSED_SLOT(15);
    A_Err (*AEGP_StartAddKeyframes)(AEGP_StreamRefH streamH, AEGP_AddKeyframesInfoH* akPH);         /* 16 */
    A_Err (*AEGP_AddKeyframes)(AEGP_AddKeyframesInfoH akH, AEGP_LTimeMode time_mode,
                               const A_Time* timePT, A_long* key_indexPL);                          /* 17 */
    A_Err (*AEGP_SetAddKeyframe)(AEGP_AddKeyframesInfoH akH, A_long key_indexL,
                                 const AEGP_StreamValue2* valueP);                                  /* 18 */
    A_Err (*AEGP_EndAddKeyframes)(A_Boolean addB, AEGP_AddKeyframesInfoH akH);                      /* 19 */
} AEGP_KeyframeSuite4;

typedef struct AEGP_MaskSuite5 {
    ZOLVAR_UNUSED_SLOT(0);
    A_Err (*AEGP_GetLayerMaskByIndex)(AEGP_LayerH aegp_layerH, A_long mask_indexL,
                                      AEGP_MaskRefH* maskPH);                                       /* 1 */
    A_Err (*AEGP_DisposeMask)(AEGP_MaskRefH mask_refH);                                             /* 2 */
    A_Err (*AEGP_GetMaskInvert)(AEGP_MaskRefH mask_refH, A_Boolean* invertPB);                      /* 3 */
    ZOLVAR_UNUSED_SLOT(4);
    A_Err (*AEGP_GetMaskMode)(AEGP_MaskRefH mask_refH, PF_MaskMode* modeP);                         /* 5 */
    ZOLVAR_UNUSED_SLOT(6);
    ZOLVAR_UNUSED_SLOT(7); ZOLVAR_UNUSED_SLOT(8); ZOLVAR_UNUSED_SLOT(9);
    A_Err (*AEGP_CreateNewMask)(AEGP_LayerH layerH, AEGP_MaskRefH* mask_refPH, A_long* mask_indexPL); /* 10 */
    ZOLVAR_UNUSED_SLOT(11); ZOLVAR_UNUSED_SLOT(12); ZOLVAR_UNUSED_SLOT(13); ZOLVAR_UNUSED_SLOT(14);
    ZOLVAR_UNUSED_SLOT(15);
    A_Err (*AEGP_GetMaskLockState)(AEGP_MaskRefH mask_refH, A_Boolean* is_lockedPB);                /* 16 */
    A_Err (*AEGP_SetMaskLockState)(AEGP_MaskRefH mask_refH, A_Boolean lockB);                       /* 17 */
} AEGP_MaskSuite5;

typedef struct AEGP_MaskOutlineSuite2 {
    A_Err (*AEGP_IsMaskOutlineOpen)(AEGP_MaskOutlineValH mask_outlineH, A_Boolean* openPB);         /* 0 */
    ZOLVAR_UNUSED_SLOT(1);
    A_Err (*AEGP_GetMaskOutlineNumSegments)(AEGP_MaskOutlineValH mask_outlineH,
                                            A_long* num_segmentsPL);                                /* 2 */
    A_Err (*AEGP_GetMaskOutlineVertexInfo)(AEGP_MaskOutlineValH mask_outlineH,
                                           AEGP_VertexIndex which_pointL, AEGP_MaskVertex* vertexP); /* 3 */
} AEGP_MaskOutlineSuite2;

typedef struct PF_PathDataSuite1 {
    A_Err (*PF_PathIsOpen)(PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP, A_Boolean* openPB);      /* 0 */
    A_Err (*PF_PathNumSegments)(PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP,
                                A_long* num_segmentsPL);                                            /* 1 */
    A_Err (*PF_PathVertexInfo)(PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP, A_long which_pointL,
                               PF_PathVertex* vertexP);                                             /* 2 */
} PF_PathDataSuite1;

typedef struct AEGP_TextLayerSuite1 {
    A_Err (*AEGP_GetNewTextOutlines)(AEGP_LayerH layerH, const A_Time* layer_timePT,
                                     AEGP_TextOutlinesH* outlinesPH);                               /* 0 */
    A_Err (*AEGP_DisposeTextOutlines)(AEGP_TextOutlinesH outlinesH);                                /* 1 */
    A_Err (*AEGP_GetNumTextOutlines)(AEGP_TextOutlinesH outlinesH, A_long* num_outlinesPL);         /* 2 */
    A_Err (*AEGP_GetIndexedTextOutline)(AEGP_TextOutlinesH outlinesH, A_long path_indexL,
                                        PF_PathOutlinePtr* pathPP);                                 /* 3 */
} AEGP_TextLayerSuite1;

typedef struct AEGP_FootageSuite5 {
    A_Err (*AEGP_GetMainFootageFromItem)(AEGP_ItemH itemH, AEGP_FootageH* footagePH);               /* 0 */
    ZOLVAR_UNUSED_SLOT(1); ZOLVAR_UNUSED_SLOT(2); ZOLVAR_UNUSED_SLOT(3);
    A_Err (*AEGP_GetFootageSignature)(AEGP_FootageH footageH, AEGP_FootageSignature* sigP);         /* 4 */
    ZOLVAR_UNUSED_SLOT(5);  ZOLVAR_UNUSED_SLOT(6);  ZOLVAR_UNUSED_SLOT(7);  ZOLVAR_UNUSED_SLOT(8);
    ZOLVAR_UNUSED_SLOT(9);  ZOLVAR_UNUSED_SLOT(10); ZOLVAR_UNUSED_SLOT(11); ZOLVAR_UNUSED_SLOT(12);
    ZOLVAR_UNUSED_SLOT(13); ZOLVAR_UNUSED_SLOT(14); ZOLVAR_UNUSED_SLOT(15);
    A_Err (*AEGP_GetSolidFootageColor)(AEGP_ItemH itemH, A_Boolean proxyB, AEGP_ColorVal* colorP);  /* 16 */
} AEGP_FootageSuite5;

/* ---------------------------------------------------------------------------
 * The plug-in's one export.
 * ------------------------------------------------------------------------- */
typedef A_Err (*AEGP_EntryPointFunc)(struct SPBasicSuite* pica_basicP, A_long major_versionL,
                                     A_long minor_versionL, AEGP_PluginID aegp_plugin_id,
                                     AEGP_GlobalRefcon* global_refconP);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* ZOLVAR_SDK_HOST_API_H */
