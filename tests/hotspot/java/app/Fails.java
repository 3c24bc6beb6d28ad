package app;

public class Fails {
    public static void main(String[] args) {
        Record.call("main", Fails.class, args);
        throw new IllegalStateException("boom");
    }
}
