// libkstdlib.so exports exactly its C functions, plus the type information of KException that
// lets hosts catch it; nothing else may leak out of the library.
#include <gtest/gtest.h>

#include <stdio.h>

#include <set>
#include <string>

namespace {

const char* const kExpectedFunctions[] = {
    "K_Acos",
    "K_AddBoxToBounds",
    "K_AddPointToBounds",
    "K_AngleIMatrix",
    "K_AngleMatrix",
    "K_AngleQuaternion",
    "K_AngleVectors",
    "K_AngleVectorsEx",
    "K_Atof",
    "K_Atoi",
    "K_AxesToAngles",
    "K_BestPowerOf2",
    "K_BoxOnPlaneSide",
    "K_BoxOnPlaneSide2",
    "K_BuildOrientationMatrix",
    "K_BuildOrientationStudioMatrix",
    "K_BuildTransformMatrix",
    "K_BuildTransformStudioMatrix",
    "K_BuildViewMatrix",
    "K_BuildViewMatrixEx",
    "K_ClearBounds",
    "K_CompressVector",
    "K_ConcatTransforms",
    "K_ConvertPathSeparators",
    "K_Cos",
    "K_DecodeBBox",
    "K_DecodeBBoxCenter",
    "K_DecompressVector",
    "K_DefaultExtension",
    "K_EncodeBBox",
    "K_ExtractFileBase",
    "K_ExtractFileExtension",
    "K_ExtractFileName",
    "K_ExtractFilePath",
    "K_Float2Half",
    "K_FormatSizeString",
    "K_FormatTimeString",
    "K_FreePrivateProfile",
    "K_GetCPUInformation",
    "K_GetPrivateProfileInt",
    "K_GetPrivateProfileString",
    "K_GetPrivateProfileVariableCount",
    "K_GetPrivateProfileVariableName",
    "K_Half2Float",
    "K_Hash",
    "K_InvRSquared",
    "K_InverseMatrix",
    "K_InverseMatrixFull",
    "K_InverseStudioMatrix",
    "K_IsPowerOf2",
    "K_LerpAngle",
    "K_LerpAngles",
    "K_LoadPrivateProfile",
    "K_MD5_Append",
    "K_MD5_Finish",
    "K_MD5_Init",
    "K_MathLib_FeatureEnabled",
    "K_MathLib_Initialize",
    "K_MatrixMultiply3x3",
    "K_MatrixMultiply4x4",
    "K_MatrixQuaternion",
    "K_MemFgets",
    "K_NextPowerOf2",
    "K_Noise2f",
    "K_Noise3f",
    "K_Noise4f",
    "K_NormalizeAngle",
    "K_NormalizeAngles",
    "K_PackBytes2",
    "K_PackBytes4",
    "K_Pathcmp",
    "K_Pathstr",
    "K_PerpendicularVector",
    "K_PlaneTransform",
    "K_PointOnPlaneSide",
    "K_ProjectPointOnPlane",
    "K_ProjectPointOnVector",
    "K_QuaternionAngle",
    "K_QuaternionInverse",
    "K_QuaternionMatrix",
    "K_QuaternionProduct",
    "K_QuaternionSlerp",
    "K_RSqrt",
    "K_RSqrtFast",
    "K_RadiusFromBounds",
    "K_RandomFloat",
    "K_RandomGaussianFloat",
    "K_RandomLong",
    "K_Rint",
    "K_RotateAABB",
    "K_RotatePointAroundVector",
    "K_RotatePointAroundVectorHR",
    "K_SRand",
    "K_SavePrivateProfile",
    "K_SetLocale",
    "K_SetPlaneSignbits",
    "K_SharedRandomFloat",
    "K_SharedRandomLong",
    "K_SignbitsForNormal",
    "K_SinCos",
    "K_SinCosPrecise",
    "K_SnapVector",
    "K_Sort",
    "K_Sprintf",
    "K_Sqrt",
    "K_SqrtFast",
    "K_Strfilter",
    "K_StripExtension",
    "K_StripQuotes",
    "K_Stristr",
    "K_Strlwr",
    "K_Strupr",
    "K_TableCos",
    "K_TableCosLookup",
    "K_TableSin",
    "K_TableSinLookup",
    "K_TableSqrt",
    "K_TransformAABB",
    "K_TransposeMatrix",
    "K_ValidateBounds",
    "K_Vector4DRotate",
    "K_Vector4DTransform",
    "K_VectorNormalize",
    "K_VectorNormalizeFast",
    "K_VectorRotate",
    "K_VectorRotateMulti",
    "K_VectorToAngles",
    "K_VectorToYaw",
    "K_VectorTransform",
    "K_VectorTransformMulti",
    "K_WritePrivateProfileInt",
    "K_WritePrivateProfileString",
    "va",
    "va2",
};

std::set<std::string> DefinedExports() {
    std::set<std::string> names;
    FILE* pipe = popen("nm -D --defined-only " ZARV_BIN_DIR "/libkstdlib.so", "r");
    if (!pipe) return names;
    char line[512];
    while (fgets(line, sizeof(line), pipe)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        const size_t space = text.find_last_of(' ');
        names.insert(space == std::string::npos ? text : text.substr(space + 1));
    }
    pclose(pipe);
    return names;
}

} // namespace

TEST(Exports, ExactlyTheLibraryFunctionsAndExceptionTypeInfo) {
    std::set<std::string> expected(std::begin(kExpectedFunctions), std::end(kExpectedFunctions));
    ASSERT_EQ(expected.size(), 134u);
    expected.insert("_ZTI10KException");
    expected.insert("_ZTS10KException");

    const std::set<std::string> actual = DefinedExports();
    for (const std::string& name : expected)
        EXPECT_TRUE(actual.count(name)) << "missing export " << name;
    for (const std::string& name : actual)
        EXPECT_TRUE(expected.count(name)) << "unexpected export " << name;
}
