# OrvTesseraEngine.dll: the embedded engine served as "Tessapp.Application", once the
# Windows build has the engine (its libraries cross-built). Included at the end of
# src/CMakeLists.txt, so that the engine's target is known wherever it is defined.
if(WIN32 AND TARGET orv_engine)
    orv_add_standin_server(OrvTesseraEngine OrvTesseraEngine
                           ${CMAKE_CURRENT_LIST_DIR}/EngineStandInParts.cpp)
    target_link_libraries(OrvTesseraEngine PRIVATE orv_engine)
endif()
