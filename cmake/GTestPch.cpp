// Compiled only to precompile GoogleTest's and GoogleMock's headers for every test suite.
