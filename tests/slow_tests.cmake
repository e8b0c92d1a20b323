# Read by CTest once the GoogleTest programs have listed their tests: the
# slowest of them get a cost, so that on a machine with no timings of an
# earlier run they start early instead of ending the run alone.
foreach(name IN LISTS levelset_tests_TESTS scores_tests_TESTS)
  if(name MATCHES "^(CheckVersusSolver|FirstChaserTest|LevelFiguresTest|SharedScoreFileTest)\\.")
    set_tests_properties(${name} PROPERTIES COST 100)
  endif()
endforeach()
